#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/dataset/field.h"
#include "platform/dataset/packet.h"
#include "platform/scoped.h"
#include "platform/signal.h"

namespace pag {

class ClientDataSet;
class DataSource;
class FilterExpression;

enum class DataSetState { Inactive, Browse, Edit, Insert, CalcFields };

const char* dataSetStateName(DataSetState s);  // "inactive", "browse", ...

using DataSetEvent = std::function<void(ClientDataSet&)>;

struct LocateOptions {
    bool caseInsensitive = true;
    bool partialKey = false;
};

// A client-side dataset: rows in memory with a cursor, the states and events of a
// data-aware dataset, and a change log of what was inserted, modified and deleted
// since the last merge.
//
// Events run in the order a data-aware screen expects:
//   Insert/Append: BeforeInsert, OnNewRecord, AfterInsert, AfterScroll
//   Edit:          BeforeEdit, AfterEdit
//   Post:          (bound controls write their text), BeforePost, AfterPost
//   Cancel:        BeforeCancel, AfterCancel (of an insert: BeforeScroll after
//                  BeforeCancel, AfterScroll after AfterCancel)
//   Delete:        BeforeDelete, AfterDelete, AfterScroll
//   Open/SetData:  AfterOpen, AfterScroll
//   moving:        an edit in progress is posted first, then AfterScroll
// An exception thrown by a before-event (or OnNewRecord) cancels the operation and
// leaves state and data as they were; it then propagates to the caller.
class ClientDataSet {
public:
    explicit ClientDataSet(std::string name = {});
    virtual ~ClientDataSet();
    ClientDataSet(const ClientDataSet&) = delete;
    ClientDataSet& operator=(const ClientDataSet&) = delete;

    const std::string& Name() const { return name_; }

    // ---- structure
    // Declares the fields. Allowed while the dataset is inactive.
    void SetFieldDefs(std::vector<FieldDef> defs);
    const std::vector<FieldDef>& FieldDefs() const { return defs_; }
    // Opens an empty dataset with the declared fields.
    void CreateDataSet();
    size_t FieldCount() const { return fields_.size(); }
    Field& Fields(size_t i) { return *fields_.at(i); }
    Field* FindField(std::string_view name);
    // Throws a pt-BR error naming the dataset when the field does not exist.
    Field& FieldByName(std::string_view name);

    // ---- content
    // Replaces the whole content with a packet and opens the dataset. Declared
    // fields are taken from the packet by name (missing ones stay null, extra packet
    // fields are ignored); a dataset with no declared fields takes the packet's.
    // The change log is emptied. A packet no one else holds gives its rows to the
    // dataset instead of having them copied (packets are never created const).
    void SetData(PacketPtr packet);
    // The whole current content (without calculated fields), change log merged in.
    PacketPtr Data() const;
    // The change log as a delta packet (empty changes when nothing is pending).
    PacketPtr Delta() const;
    void Open();   // opens with the current content (empty when never filled)
    void Close();  // cancels an edit in progress, keeps nothing
    bool Active() const { return state_ != DataSetState::Inactive; }
    void EmptyDataSet();

    // ---- change log
    int ChangeCount() const;
    void MergeChangeLog();
    void CancelUpdates();
    bool LogChanges() const { return logChanges_; }
    void SetLogChanges(bool on) { logChanges_ = on; }

    // ---- state and editing
    DataSetState State() const { return state_; }
    void Insert();
    void Append();
    void Edit();
    void Post();
    void Cancel();
    void Delete();
    bool Modified() const { return modified_; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool r) { readOnly_ = r; }
    // Recomputes the calculated fields of every row.
    void Refresh();

    // ---- navigation
    void First();
    void Last();
    void Next();
    void Prior();
    void MoveBy(int n);
    bool Bof() const { return bof_; }
    bool Eof() const { return eof_; }
    int RecordCount() const;
    bool IsEmpty() const { return RecordCount() == 0; }
    int RecNo() const;  // 1-based; 0 when empty
    // Where the row being inserted shows among the rows (0-based: before the row that
    // was current, or after the last); -1 when no row is being inserted.
    int InsertingAt() const;
    void SetRecNo(int recNo);
    // A bookmark identifies a row across sorting and filtering; -1 = none.
    int64_t Bookmark() const;
    bool BookmarkValid(int64_t b) const;
    void GotoBookmark(int64_t b);

    // fields "A;B", one value per field; text compared case-insensitively by default.
    bool Locate(std::string_view fields, const std::vector<Value>& values, LocateOptions opt = {});
    bool Locate(std::string_view field, const Value& value, LocateOptions opt = {}) {
        return Locate(field, std::vector<Value>{value}, opt);
    }
    // Looks up without moving: the value of resultField in the first matching row.
    Value Lookup(std::string_view fields, const std::vector<Value>& values,
                 std::string_view resultField);

    // Stable ascending order by "A;B"; empty text = natural order.
    void SetIndexFieldNames(std::string names);
    const std::string& IndexFieldNames() const { return indexFieldNames_; }
    // A filter such as "IDMARCADO = 'S'" or "VRBOLPAG > 100 and IDHABIBPAG <> 'S'";
    // an invalid expression throws a pt-BR error and leaves the old filter.
    void SetFilter(std::string expr);
    const std::string& Filter() const { return filterText_; }
    void SetFiltered(bool on);
    bool Filtered() const { return filtered_; }

    // ---- controls
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return disableCount_ > 0; }

    // Fired after every change of data, state or cursor (not while controls are
    // disabled; EnableControls fires once).
    Signal<> Changed;
    // Fired on every change of state (inactive/browse/edit/insert), also while
    // controls are disabled: a screen's state-change handler must always see them.
    Signal<> StateChanged;
    // Fired when the dataset is destroyed: data sources still bound to it let go, so
    // the order in which a screen destroys its members does not matter.
    Signal<> Destroying;

    // Data sources bound to this dataset register here: Post asks them to write their
    // controls' pending text into the fields first.
    void AddUpdateRecordHook(const void* owner, std::function<void()> hook);
    void RemoveUpdateRecordHook(const void* owner);

    // ---- events
    DataSetEvent BeforeInsert, OnNewRecord, AfterInsert, BeforeEdit, AfterEdit, BeforePost,
        AfterPost, BeforeCancel, AfterCancel, BeforeDelete, AfterDelete, BeforeScroll, AfterScroll,
        AfterOpen, BeforeClose, AfterClose, OnCalcFields;

    // ---- drawing other rows
    // Grids draw every visible row without moving the cursor: while a display record
    // is set (1-based, as RecNo), fields read that row, so display handlers
    // (OnGetText) work unchanged. No event fires. The row being edited shows its
    // edit buffer. 0 clears it. Prefer the DisplayRecord guard.
    void SetDisplayRecord(int recNo);
    int DisplayRecord() const { return displayRec_; }

    // ---- internal access for Field
    Value CurrentValue(size_t field) const;
    // The same as CurrentValue(field).isNull(), without copying the value.
    bool CurrentIsNull(size_t field) const;
    // A text field of the row the fields read, without a copy; empty for null.
    std::string_view CurrentText(size_t field) const;
    Value OriginalValue(size_t field) const;
    void SetCurrentValue(size_t field, const Value& v);

private:
    struct Slot {
        std::string cur;   // encoded row
        std::string orig;  // values at the last merge (modified rows)
        enum Status : uint8_t { Unchanged, Inserted, Modified } status = Unchanged;
        bool alive = true;
    };

    // What the fields read now: a stored row, the row being edited or inserted, or
    // null when there is no current row.
    const std::string* rowRead() const;
    void checkActive() const;
    void checkBrowse(const char* what);  // posts or cancels an edit in progress
    void buildFields(const std::vector<FieldDef>& defs);
    void rebuildView();
    void rebuildView(int64_t keepId);
    void settleBounds();
    void sortView();
    bool passesFilter(size_t id);
    bool indexLess(size_t a, size_t b) const;
    bool shownBefore(size_t a, size_t b) const;
    void repositionEdited(size_t id);
    void naturalChanged();
    void dropRows();
    std::vector<size_t> pendingIds() const;
    bool compactionNeeded() const;
    void setState(DataSetState s);
    void notify();
    void afterScrollIfMoved(int64_t oldId);
    void moveTo(int pos, bool fireScroll);
    void checkBrowseModeForMove();
    void calcRow(size_t id);
    void calcAll();
    bool rowMatches(size_t id, const std::vector<size_t>& idx, const std::vector<Value>& vals,
                    LocateOptions opt) const;
    std::vector<size_t> fieldIndexes(std::string_view names);
    int64_t currentId() const;
    void startInsert(bool append);
    void updateRecord();
    std::shared_ptr<Packet> storedPacket(std::vector<size_t>& keep) const;
    std::string storedRow(const std::string& row, const std::vector<size_t>& keep,
                          const Packet& p) const;

    std::string name_;
    std::vector<FieldDef> defs_;
    std::vector<std::unique_ptr<Field>> fields_;
    // Field names compare case-insensitively (ASCII): the index of each by its upper case.
    std::unordered_map<std::string, size_t> fieldAt_;
    static std::string fieldKey(std::string_view name);
    RowLayout layout_;
    std::vector<Slot> slots_;      // by row id
    std::vector<size_t> natural_;  // row ids in insertion order (dead ones too)
    std::vector<size_t> view_;     // live row ids, sorted and filtered
    // Whether natural_[i] == i: a row's id is then its natural position, so one edited
    // row finds its place in the view without rebuilding it.
    bool naturalIsId_ = true;
    // The view holds the current values' order and filter; false after the calculated
    // fields were recomputed in place (Refresh), so the next post rebuilds it.
    bool viewCurrent_ = true;
    // Rows that left "unchanged" since the last merge, in the order they did; an
    // inserted row deleted again stays here, back as unchanged (pendingIds skips it).
    std::vector<size_t> changed_;
    int pos_ = -1;  // cursor: index into view_
    bool bof_ = true, eof_ = true;
    DataSetState state_ = DataSetState::Inactive;
    std::string editRow_;     // the row being edited or inserted, encoded as the stored ones
    size_t insertAt_ = 0;     // natural position of a row being inserted
    int insertShownAt_ = -1;  // its place among the rows shown
    bool modified_ = false;
    bool logChanges_ = true;
    bool readOnly_ = false;
    int calcRowId_ = -1;  // row being calculated
    int disableCount_ = 0;
    bool pendingNotify_ = false;
    std::string indexFieldNames_;
    std::vector<size_t> indexFields_;
    std::string filterText_;
    std::shared_ptr<FilterExpression> filter_;
    bool filtered_ = false;
    std::vector<std::pair<const void*, std::function<void()>>> updateHooks_;
    bool hasCalc_ = false;
    int displayRec_ = 0;
};

// Reads one row for display for the duration of a scope (see SetDisplayRecord).
class DisplayRecordScope {
public:
    DisplayRecordScope(ClientDataSet& ds, int recNo) : ds_(ds), saved_(ds.DisplayRecord()) {
        ds_.SetDisplayRecord(recNo);
    }
    ~DisplayRecordScope() { ds_.SetDisplayRecord(saved_); }
    DisplayRecordScope(const DisplayRecordScope&) = delete;
    DisplayRecordScope& operator=(const DisplayRecordScope&) = delete;

private:
    ClientDataSet& ds_;
    int saved_;
};

// Puts the cursor back on the row it was on when the scope ends (a walk over the rows),
// when the row is still there and the dataset is browsing: a row that stopped the walk
// in edit stays current for the user to see.
class BookmarkReturn {
public:
    explicit BookmarkReturn(ClientDataSet& ds) : ds_(ds), mark_(ds.Bookmark()) {}
    ~BookmarkReturn() {
        if (ds_.State() == DataSetState::Browse && ds_.BookmarkValid(mark_))
            ds_.GotoBookmark(mark_);
    }
    BookmarkReturn(const BookmarkReturn&) = delete;
    BookmarkReturn& operator=(const BookmarkReturn&) = delete;

private:
    ClientDataSet& ds_;
    int64_t mark_;
};

// Detaches one event handler of a dataset for the duration of a scope and puts it
// back when the scope ends, even when an exception passes.
class DetachEvent : public ScopedAssign<DataSetEvent> {
public:
    DetachEvent(DataSetEvent& slot) : ScopedAssign(slot, nullptr) {}
};

// DisableControls for the duration of a scope.
class ControlsDisabled {
public:
    explicit ControlsDisabled(ClientDataSet& ds) : ds_(ds) { ds_.DisableControls(); }
    ~ControlsDisabled() { ds_.EnableControls(); }
    ControlsDisabled(const ControlsDisabled&) = delete;
    ControlsDisabled& operator=(const ControlsDisabled&) = delete;

private:
    ClientDataSet& ds_;
};

// Binds a dataset to controls: controls observe it through the data source, and the
// screen's state-change handler (dtsPadraoStateChange) hangs here.
class DataSource {
public:
    explicit DataSource(std::string name = {}, ClientDataSet* ds = nullptr);
    ~DataSource();
    DataSource(const DataSource&) = delete;
    DataSource& operator=(const DataSource&) = delete;

    const std::string& Name() const { return name_; }
    ClientDataSet* DataSet() const { return ds_; }
    void SetDataSet(ClientDataSet* ds);
    DataSetState State() const { return ds_ ? ds_->State() : DataSetState::Inactive; }

    std::function<void(DataSource&)> OnStateChange;
    std::function<void(DataSource&)> OnDataChange;
    // Controls bound here register to write their pending text before a post.
    void AddEditor(const void* owner, std::function<void()> writePending);
    void RemoveEditor(const void* owner);
    // Fired (after OnDataChange/OnStateChange) for views.
    Signal<> Changed;

private:
    void attach();
    void detach();
    std::string name_;
    ClientDataSet* ds_ = nullptr;
    DataSetState lastState_ = DataSetState::Inactive;
    Signal<>::Connection conn_;
    Signal<>::Connection stateConn_;
    Signal<>::Connection destroyConn_;
    std::vector<std::pair<const void*, std::function<void()>>> editors_;
};

}  // namespace pag
