#include "contracts/client/grid_helpers.h"

#include "contracts/consiste.h"
#include "platform/dataset/client_dataset.h"

namespace pag {

void GridText(GridCanvas& cell, const std::string& text, bool rightAligned, Colour background) {
    cell.Fill(background);
    cell.DrawText(text, rightAligned ? Alignment::Right : Alignment::Left);
}

void InsereImagem(GridCanvas& cell, const std::string& picture, Colour transparent, int x, int y) {
    cell.DrawImage(picture, x, y, transparent);
}

void InsereImagem(GridCanvas& cell, const Image& image, Colour transparent, int x, int y) {
    InsereImagem(cell, image.Picture().empty() ? image.Name() : image.Picture(), transparent, x, y);
}

void Seta_Campo_Null(ClientDataSet& dataset) {
    const DataSetState state = dataset.State();
    if (state != DataSetState::Edit && state != DataSetState::Insert) return;
    for (size_t i = 0; i < dataset.FieldCount(); ++i) {
        Field& field = dataset.Fields(i);
        if (field.DataType() != FieldType::Text || field.Calculated() || field.IsNull()) continue;
        if (EmptyString(field.AsText())) field.Clear();
    }
}

}  // namespace pag
