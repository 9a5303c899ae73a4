#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/dataset/client_dataset.h"
#include "platform/ui/control.h"

namespace pag {

class CustomEdit;

enum class ColumnButtonStyle { Auto, Ellipsis, None };

// One column of a data grid.
struct GridColumn {
    std::string fieldName{};
    std::string title{};  // empty: the field's display label
    int width = 0;        // 0: the grid's default width
    bool visible = true;
    bool readOnly = false;
    Alignment alignment = Alignment::Left;
    ColumnButtonStyle buttonStyle = ColumnButtonStyle::Auto;
    std::vector<std::string> pickList{};
    std::string titleFont{};     // empty: the grid's font ("Symbol" draws glyphs)
    std::string titlePicture{};  // a picture of the screen shown as the title
};

struct GridOptions {
    bool titles = true;
    bool editing = false;  // cells may be typed into
    bool rowSelect = false;
    bool alwaysShowSelection = false;
    bool tabs = false;  // Tab moves between columns
    bool confirmDelete = true;
    bool columnResize = true;
};

// What drawing a cell produced: tests and views read these instead of pixels.
struct DrawCommand {
    enum class Kind { Fill, Text, Image };
    Kind kind = Kind::Text;
    int column = 0;
    std::string text;  // the text, or the picture's name
    Colour colour;     // the fill colour, or the picture's transparent colour
    bool transparent = false;
    int x = 0, y = 0;  // offset of a picture within the cell
    Alignment alignment = Alignment::Left;
};

// Records the drawing of one cell.
class GridCanvas {
public:
    explicit GridCanvas(int column) : column_(column) {}
    int Column() const { return column_; }
    // Clears the cell with a colour.
    void Fill(Colour c);
    void DrawText(std::string text, Alignment alignment = Alignment::Left);
    // A picture at (x, y) from the cell's top-left corner, optionally with a colour
    // that stays transparent.
    void DrawImage(std::string picture, int x, int y, std::optional<Colour> transparent = {});
    const std::vector<DrawCommand>& Commands() const { return commands_; }

private:
    int column_;
    std::vector<DrawCommand> commands_;
};

struct DrawCellState {
    bool selected = false;  // the selected column of the current row
    bool focused = false;   // ... and the grid has the focus
};

// A data grid over a data source: columns, the selected column, the dataset's cursor
// as the current row, cell editing, and the events the screens hang on it. Typing in
// a cell goes through KeyPress (OnKeyPress first) into an in-place editor bound to
// the selected column's field, with the usual data-aware rules.
class Grid : public Control {
public:
    Grid(std::string name, Container* parent, DataSource* source = nullptr);
    ~Grid() override;

    DataSource* GetDataSource() const { return source_; }
    void SetDataSource(DataSource* source);
    ClientDataSet* DataSet() const { return source_ ? source_->DataSet() : nullptr; }

    // ---- columns
    const std::vector<GridColumn>& Columns() const { return columns_; }
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    GridColumn& Column(int index);
    GridColumn& AddColumn(GridColumn column);
    void RemoveColumn(int index);
    // The column's title as shown (its field's label when it has none).
    std::string ColumnTitle(int index) const;
    // Changes a column's definition and tells the views.
    void ColumnsChanged() { changed(); }
    // The visible columns (grid indexes) in the order the user sees them: a view that
    // puts columns in another order, or lets the user move them, says so here. Without
    // such an order, or when it no longer names exactly the visible columns, the
    // visible columns in their own order.
    void SetShownOrder(std::vector<int> columns) { shownOrder_ = std::move(columns); }
    std::vector<int> ShownColumns() const;

    // ---- selection
    int SelectedIndex() const { return selected_; }
    // Selects a column: commits the cell being typed, OnColExit, then OnColEnter.
    void SetSelectedIndex(int index);
    GridColumn* SelectedColumn();
    Field* SelectedField() const;
    // The current row: the dataset's record number (0 when empty).
    int Row() const;

    GridOptions& Options() { return options_; }
    const GridOptions& Options() const { return options_; }
    bool Editing() const { return options_.editing; }
    void SetEditing(bool on);

    // ---- in-place editor
    // Whether the selected cell can be typed into now.
    bool CanEditCell() const;
    bool EditorShowing() const { return editorShowing_; }
    std::string EditorText() const;
    void SetEditorText(const std::string& text);
    // Writes what was typed into the field (Enter does this too).
    void CommitEditor();
    // Selects the whole text of the editor showing, so what is typed next replaces it.
    void SelectEditorText();

    // ---- user input
    bool ClickCell(int column);
    bool ClickTitle(int column);
    bool DoubleClick();
    bool PressEditButton();
    void TypeText(std::string_view utf8);
    bool CanFocus() const override { return IsUsable(); }

    // ---- drawing: every visible column of the current row (the text of the field,
    // then OnDrawColumnCell). An empty dataset still draws its one blank row.
    std::vector<DrawCommand> DrawCurrentRow();
    // One cell of any row (recNo from 1) as the current row would draw it; other rows
    // are read through the display record, so the cursor never moves and no dataset
    // event fires. Empty for a row or column that does not exist.
    std::vector<DrawCommand> DrawCell(int recNo, int column);

    std::function<void(GridCanvas& canvas, int column, GridColumn& col, DrawCellState state)>
        OnDrawColumnCell;
    std::function<void(GridColumn&col)> OnCellClick, OnTitleClick;
    Handler OnDblClick, OnColEnter, OnColExit, OnEditButtonClick;

    void DoExit() override;

protected:
    void HandleKeyDown(int key, ShiftState shift) override;
    void HandleKeyPress(KeyChar key) override;

private:
    class CellEditor;
    void bindEditor();
    std::vector<DrawCommand> drawCell(int column, bool current);
    void onDataChanged();
    // False when no visible column lies that way.
    bool moveColumn(int step);
    bool confirmDelete();

    DataSource* source_ = nullptr;
    std::vector<GridColumn> columns_;
    std::vector<int> shownOrder_;
    int selected_ = 0;
    GridOptions options_;
    std::unique_ptr<CellEditor> editor_;
    bool editorShowing_ = false;
    int64_t shownBookmark_ = -1;
    Signal<>::Connection conn_;
};

// Index of the column that shows a field (-1 when none).
int IndiceCol(const Grid& grid, const std::string& fieldName);
// Removes the column that shows a field (nothing when there is none).
void DestroiColuna(Grid& grid, const std::string& fieldName);

}  // namespace pag
