#include "contracts/client/vd_codigo_barras.h"

#include "contracts/client/messages.h"
#include "contracts/lib02800.h"

namespace pag {

void Vd_CodigoBarras(UserInterface& ui, std::string_view code) {
    BarcodeInfo info = analyseBarcode(code);
    if (!info.valid) MensErro(ui, info.message);
}

}  // namespace pag
