#include "platform/ui/grid.h"

#include <algorithm>

#include "platform/ui/edit.h"
#include "platform/ui/form.h"
#include "platform/ui/text_chars.h"

namespace pag {

// The in-place editor of the selected cell: a data-aware edit that always shows the
// field's edit text.
class Grid::CellEditor : public CustomEdit {
public:
    explicit CellEditor(std::string name) : CustomEdit(std::move(name), nullptr) {}
    FieldLink& link() { return *Link(); }
    bool canModify() const { return Link() && Link()->CanModify(); }
    bool pending() const { return Link() && Link()->Modified(); }
    // The program puts text in the cell as if typed: the dataset goes into edit.
    bool setPendingText(const std::string& text) {
        if (!Link() || !Link()->Edit()) return false;
        setShownText(text);
        SetModified(true);
        Link()->SetModified();
        return true;
    }

protected:
    bool ShowsEditText() const override { return true; }
};

void GridCanvas::Fill(Colour c) {
    DrawCommand d;
    d.kind = DrawCommand::Kind::Fill;
    d.column = column_;
    d.colour = c;
    commands_.push_back(std::move(d));
}

void GridCanvas::DrawText(std::string text, Alignment alignment) {
    DrawCommand d;
    d.kind = DrawCommand::Kind::Text;
    d.column = column_;
    d.text = std::move(text);
    d.alignment = alignment;
    commands_.push_back(std::move(d));
}

void GridCanvas::DrawImage(std::string picture, int x, int y, std::optional<Colour> transparent) {
    DrawCommand d;
    d.kind = DrawCommand::Kind::Image;
    d.column = column_;
    d.text = std::move(picture);
    d.x = x;
    d.y = y;
    d.transparent = transparent.has_value();
    if (transparent) d.colour = *transparent;
    commands_.push_back(std::move(d));
}

Grid::Grid(std::string name, Container* parent, DataSource* source)
    : Control(std::move(name), parent), editor_(std::make_unique<CellEditor>(Name() + ".editor")) {
    SetTabStop(true);
    SetDataSource(source);
}

Grid::~Grid() = default;

void Grid::SetDataSource(DataSource* source) {
    source_ = source;
    conn_ =
        source_ ? source_->Changed.connect([this] { onDataChanged(); }) : Signal<>::Connection();
    bindEditor();
    changed();
}

void Grid::bindEditor() {
    GridColumn* col = SelectedColumn();
    editor_->Bind(source_, col ? col->fieldName : std::string());
    editorShowing_ = false;
}

void Grid::onDataChanged() {
    ClientDataSet* ds = DataSet();
    int64_t bookmark = ds && ds->Active() ? ds->Bookmark() : -1;
    DataSetState state = ds ? ds->State() : DataSetState::Inactive;
    bool editing = state == DataSetState::Edit || state == DataSetState::Insert;
    // The cell editor closes when the row changes or is posted, unless text is pending.
    if (!editor_->pending() && (bookmark != shownBookmark_ || !editing)) editorShowing_ = false;
    shownBookmark_ = bookmark;
    changed();
}

GridColumn& Grid::Column(int index) {
    return columns_.at(static_cast<size_t>(index));
}

GridColumn& Grid::AddColumn(GridColumn column) {
    columns_.push_back(std::move(column));
    if (columns_.size() == 1) bindEditor();
    changed();
    return columns_.back();
}

std::vector<int> Grid::ShownColumns() const {
    std::vector<int> visible;
    for (int i = 0; i < ColumnCount(); ++i)
        if (columns_[static_cast<size_t>(i)].visible) visible.push_back(i);
    std::vector<int> shown = shownOrder_;
    std::sort(shown.begin(), shown.end());
    return shown == visible ? shownOrder_ : visible;
}

void Grid::RemoveColumn(int index) {
    if (index < 0 || index >= ColumnCount()) return;
    bool wasSelected = index == selected_;
    columns_.erase(columns_.begin() + index);
    if (index < selected_ || selected_ >= ColumnCount()) selected_ = std::max(0, selected_ - 1);
    if (wasSelected) bindEditor();
    changed();
}

std::string Grid::ColumnTitle(int index) const {
    const GridColumn& col = columns_.at(static_cast<size_t>(index));
    if (!col.title.empty()) return col.title;
    // A closed dataset keeps its fields: an empty list still shows their labels.
    ClientDataSet* ds = DataSet();
    Field* f = ds ? ds->FindField(col.fieldName) : nullptr;
    return f ? f->DisplayLabel() : col.fieldName;
}

void Grid::SetSelectedIndex(int index) {
    if (index < 0 || index >= ColumnCount() || index == selected_) return;
    CommitEditor();
    if (OnColExit) OnColExit();
    selected_ = index;
    bindEditor();
    changed();
    if (OnColEnter) OnColEnter();
}

GridColumn* Grid::SelectedColumn() {
    return selected_ < ColumnCount() ? &columns_[static_cast<size_t>(selected_)] : nullptr;
}

Field* Grid::SelectedField() const {
    ClientDataSet* ds = DataSet();
    if (!ds || !ds->Active() || selected_ >= ColumnCount()) return nullptr;
    return ds->FindField(columns_[static_cast<size_t>(selected_)].fieldName);
}

int Grid::Row() const {
    ClientDataSet* ds = DataSet();
    return ds && ds->Active() ? ds->RecNo() : 0;
}

void Grid::SetEditing(bool on) {
    if (options_.editing == on) return;
    options_.editing = on;
    changed();
}

bool Grid::CanEditCell() const {
    if (!options_.editing || ReadOnly() || selected_ >= ColumnCount()) return false;
    const GridColumn& col = columns_[static_cast<size_t>(selected_)];
    return col.visible && !col.readOnly && editor_->canModify();
}

std::string Grid::EditorText() const {
    return editor_->Text();
}

void Grid::SetEditorText(const std::string& text) {
    if (!CanEditCell()) return;
    if (editor_->setPendingText(text)) editorShowing_ = true;
    changed();
}

void Grid::CommitEditor() {
    editor_->link().UpdateRecord();
    editorShowing_ = false;
}

bool Grid::ClickCell(int column) {
    if (!IsUsable() || column < 0 || column >= ColumnCount()) return false;
    if (Form* f = OwnerForm(); f && !Focused() && !f->SetFocus(*this)) return false;
    SetSelectedIndex(column);
    if (OnCellClick) OnCellClick(columns_[static_cast<size_t>(selected_)]);
    return true;
}

bool Grid::ClickTitle(int column) {
    if (!IsUsable() || column < 0 || column >= ColumnCount()) return false;
    if (OnTitleClick) OnTitleClick(columns_[static_cast<size_t>(column)]);
    return true;
}

bool Grid::DoubleClick() {
    if (!IsUsable()) return false;
    if (OnDblClick) OnDblClick();
    return true;
}

void Grid::SelectEditorText() {
    if (editorShowing_) editor_->SelectAll();
}

bool Grid::PressEditButton() {
    GridColumn* col = SelectedColumn();
    if (!IsUsable() || !col || !options_.editing || col->readOnly ||
        col->buttonStyle != ColumnButtonStyle::Ellipsis)
        return false;
    if (OnEditButtonClick) OnEditButtonClick();
    return true;
}

void Grid::TypeText(std::string_view utf8) {
    for (char32_t c : toCodePoints(utf8))
        KeyPress(c);
}

void Grid::HandleKeyPress(KeyChar key) {
    if (key == Key::Enter) return CommitEditor();
    if (key == Key::Backspace) {
        if (editorShowing_) editor_->KeyPress(key);
        return changed();
    }
    if (key < 32 || !CanEditCell()) return;
    bool wasShowing = editorShowing_;
    if (!wasShowing) editor_->SelectAll();  // the first character replaces the cell
    editor_->KeyPress(key);
    editorShowing_ = wasShowing || editor_->pending();
    changed();
}

bool Grid::moveColumn(int step) {
    for (int i = selected_ + step; i >= 0 && i < ColumnCount(); i += step)
        if (columns_[static_cast<size_t>(i)].visible) {
            SetSelectedIndex(i);
            return true;
        }
    return false;
}

bool Grid::confirmDelete() {
    if (!options_.confirmDelete) return true;
    Form* f = OwnerForm();
    UserInterface* ui = f ? f->GetUserInterface() : nullptr;
    return ui && ui->ask("Excluir registro?");
}

void Grid::HandleKeyDown(int key, ShiftState shift) {
    ClientDataSet* ds = DataSet();
    bool open = ds && ds->Active();
    switch (key) {
        case Key::Left:
            moveColumn(-1);
            return;
        case Key::Right:
            moveColumn(1);
            return;
        case Key::Tab:
            // Tab walks the columns; past the last (or before the first) it leaves
            // the grid, so the keyboard is never kept in it.
            if (options_.tabs && moveColumn(shift.shift ? -1 : 1)) return;
            return Control::HandleKeyDown(key, shift);
        case Key::Up:
            if (open) ds->Prior();
            return;
        case Key::Down:
            if (!open) return;
            // A new row nobody typed in stays the last one; past the last row of an
            // editable grid a new row is appended.
            if (ds->State() == DataSetState::Insert && !ds->Modified() && !editor_->pending())
                return;
            CommitEditor();
            ds->Next();
            if (ds->Eof() && options_.editing && !ReadOnly() && !ds->ReadOnly()) ds->Append();
            return;
        case Key::Home:
            if (open && shift.ctrl) ds->First();
            return;
        case Key::End:
            if (open && shift.ctrl) ds->Last();
            return;
        case Key::Insert:
            if (open && options_.editing && !ReadOnly() && !ds->ReadOnly()) ds->Insert();
            return;
        case Key::Escape:
            if (editor_->pending()) {
                editor_->link().Reset();
                editorShowing_ = false;
                changed();
            } else if (open && ds->State() != DataSetState::Browse) {
                ds->Cancel();
            }
            return;
        case Key::Enter:
            // Ctrl+Enter presses the cell's lookup button, as a click on it does.
            if (shift.ctrl && PressEditButton()) return;
            return Control::HandleKeyDown(key, shift);
        case Key::Delete:
            if (shift.ctrl) {
                if (open && !ds->IsEmpty() && !ReadOnly() && !ds->ReadOnly() && confirmDelete())
                    ds->Delete();
            } else if (editorShowing_) {
                editor_->KeyDown(Key::Delete);
                changed();
            }
            return;
        default:
            return Control::HandleKeyDown(key, shift);
    }
}

void Grid::DoExit() {
    ClientDataSet* ds = DataSet();
    // An inserted row the user never filled is dropped when the grid is left.
    if (ds && ds->Active() && ds->State() == DataSetState::Insert && !ds->Modified() &&
        !editor_->pending())
        ds->Cancel();
    else
        CommitEditor();
    Control::DoExit();
}

std::vector<DrawCommand> Grid::drawCell(int column, bool current) {
    ClientDataSet* ds = DataSet();
    bool hasRow = ds && ds->Active() && (!ds->IsEmpty() || ds->State() == DataSetState::Insert);
    GridColumn& col = columns_[static_cast<size_t>(column)];
    GridCanvas canvas(column);
    Field* f = hasRow ? ds->FindField(col.fieldName) : nullptr;
    const bool selected = current && column == selected_;
    if (selected && editorShowing_)
        canvas.DrawText(editor_->Text(), col.alignment);
    else if (f)
        canvas.DrawText(f->DisplayText(), col.alignment);
    DrawCellState state{selected, selected && Focused()};
    if (OnDrawColumnCell) OnDrawColumnCell(canvas, column, col, state);
    return canvas.Commands();
}

std::vector<DrawCommand> Grid::DrawCurrentRow() {
    std::vector<DrawCommand> out;
    for (int i = 0; i < ColumnCount(); ++i) {
        if (!columns_[static_cast<size_t>(i)].visible) continue;
        std::vector<DrawCommand> cell = drawCell(i, true);
        out.insert(out.end(), cell.begin(), cell.end());
    }
    return out;
}

std::vector<DrawCommand> Grid::DrawCell(int recNo, int column) {
    ClientDataSet* ds = DataSet();
    if (!ds || !ds->Active() || column < 0 || column >= ColumnCount()) return {};
    if (recNo == ds->RecNo()) return drawCell(column, true);
    if (recNo < 1 || recNo > ds->RecordCount()) return {};
    DisplayRecordScope row(*ds, recNo);
    return drawCell(column, false);
}

namespace {
bool sameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return toUpperChar(static_cast<unsigned char>(x)) ==
                      toUpperChar(static_cast<unsigned char>(y));
           });
}
}  // namespace

int IndiceCol(const Grid& grid, const std::string& fieldName) {
    for (int i = 0; i < grid.ColumnCount(); ++i)
        if (sameName(grid.Columns()[static_cast<size_t>(i)].fieldName, fieldName)) return i;
    return -1;
}

void DestroiColuna(Grid& grid, const std::string& fieldName) {
    int i = IndiceCol(grid, fieldName);
    if (i >= 0) grid.RemoveColumn(i);
}

}  // namespace pag
