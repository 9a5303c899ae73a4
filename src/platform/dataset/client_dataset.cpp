#include "platform/dataset/client_dataset.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>
#include <unordered_map>

#include "platform/dataset/filter.h"
#include "platform/dataset/utf8.h"

namespace pag {

const char* dataSetStateName(DataSetState s) {
    switch (s) {
        case DataSetState::Inactive:
            return "inactive";
        case DataSetState::Browse:
            return "browse";
        case DataSetState::Edit:
            return "edit";
        case DataSetState::Insert:
            return "insert";
        case DataSetState::CalcFields:
            return "calcfields";
    }
    return "?";
}

namespace {
void fire(DataSetEvent& e, ClientDataSet& ds) {
    if (e) e(ds);
}
}  // namespace

ClientDataSet::ClientDataSet(std::string name) : name_(std::move(name)) {}
ClientDataSet::~ClientDataSet() {
    Destroying.emit();
}

// ---------------------------------------------------------------- structure

void ClientDataSet::buildFields(const std::vector<FieldDef>& defs) {
    std::unordered_map<std::string, size_t> at;
    for (size_t i = 0; i < defs.size(); ++i)
        if (!at.try_emplace(fieldKey(defs[i].name), i).second)
            throw std::invalid_argument(name_ + ": campo '" + defs[i].name +
                                        "' declarado duas vezes.");
    defs_ = defs;
    fieldAt_ = std::move(at);
    fields_.clear();
    std::vector<FieldType> types;
    hasCalc_ = false;
    for (size_t i = 0; i < defs_.size(); ++i) {
        fields_.push_back(std::make_unique<Field>(*this, defs_[i], i));
        types.push_back(defs_[i].type);
        hasCalc_ = hasCalc_ || defs_[i].calculated;
    }
    layout_ = RowLayout(std::move(types));
}

void ClientDataSet::SetFieldDefs(std::vector<FieldDef> defs) {
    if (Active())
        throw std::logic_error(name_ +
                               ": os campos não podem ser redefinidos com o conjunto aberto.");
    buildFields(defs);
    dropRows();
}

void ClientDataSet::CreateDataSet() {
    if (defs_.empty())
        throw std::logic_error(name_ + ": não há campos definidos para criar o conjunto de dados.");
    if (Active()) Close();
    dropRows();
    Open();
}

std::string ClientDataSet::fieldKey(std::string_view name) {
    std::string key(name);
    for (char& c : key)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return key;
}

Field* ClientDataSet::FindField(std::string_view name) {
    const auto found = fieldAt_.find(fieldKey(name));
    return found == fieldAt_.end() ? nullptr : fields_[found->second].get();
}

Field& ClientDataSet::FieldByName(std::string_view name) {
    if (Field* f = FindField(name)) return *f;
    throw std::invalid_argument(name_ + ": campo '" + std::string(name) + "' não encontrado.");
}

std::vector<size_t> ClientDataSet::fieldIndexes(std::string_view names) {
    std::vector<size_t> out;
    size_t b = 0;
    while (b <= names.size()) {
        size_t e = names.find(';', b);
        if (e == std::string_view::npos) e = names.size();
        std::string_view n = names.substr(b, e - b);
        while (!n.empty() && n.front() == ' ')
            n.remove_prefix(1);
        while (!n.empty() && n.back() == ' ')
            n.remove_suffix(1);
        if (!n.empty()) out.push_back(FieldByName(n).Index());
        b = e + 1;
    }
    return out;
}

// ---------------------------------------------------------------- content

void ClientDataSet::SetData(PacketPtr packet) {
    if (!packet) throw std::invalid_argument(name_ + ": pacote de dados vazio.");
    if (Active()) Close();
    if (defs_.empty()) {
        std::vector<FieldDef> defs;
        for (const auto& pf : packet->fields) {
            FieldDef d;
            d.name = pf.name;
            d.type = pf.type;
            d.size = pf.size;
            defs.push_back(std::move(d));
        }
        buildFields(defs);
    }
    // Map each declared field to the packet's column of the same name.
    std::vector<int> map(fields_.size(), -1);
    bool same = packet->fields.size() == fields_.size();
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (!defs_[i].calculated) map[i] = packet->fieldIndex(defs_[i].name);
        same = same && map[i] == static_cast<int>(i) && packet->fields[i].type == defs_[i].type;
    }
    dropRows();
    slots_.reserve(packet->rows.size());
    natural_.reserve(packet->rows.size());
    std::vector<Value> vals(fields_.size());
    // The last holder of a long list hands its rows over: no copy of every row.
    const std::shared_ptr<Packet> owned = same ? soleHolder(packet) : nullptr;
    for (size_t r = 0; r < packet->rows.size(); ++r) {
        const std::string& row = packet->rows[r];
        Slot s;
        if (owned) {
            s.cur = std::move(owned->rows[r]);
        } else if (same) {
            s.cur = row;
        } else {
            for (size_t i = 0; i < fields_.size(); ++i)
                vals[i] =
                    map[i] < 0 ? Value() : packet->layout.get(row, static_cast<size_t>(map[i]));
            s.cur = layout_.encode(vals);
        }
        natural_.push_back(slots_.size());
        slots_.push_back(std::move(s));
    }
    Open();
}

// A packet with the stored (not calculated) fields, and the row encoder that drops
// the calculated ones.
std::shared_ptr<Packet> ClientDataSet::storedPacket(std::vector<size_t>& keep) const {
    std::vector<PacketField> pf;
    for (size_t i = 0; i < defs_.size(); ++i) {
        if (defs_[i].calculated) continue;
        pf.push_back({defs_[i].name, defs_[i].type, defs_[i].size});
        keep.push_back(i);
    }
    return std::make_shared<Packet>(std::move(pf));
}

std::string ClientDataSet::storedRow(const std::string& row, const std::vector<size_t>& keep,
                                     const Packet& p) const {
    if (keep.size() == defs_.size()) return row;
    std::vector<Value> v;
    v.reserve(keep.size());
    for (size_t i : keep)
        v.push_back(layout_.get(row, i));
    return p.layout.encode(v);
}

PacketPtr ClientDataSet::Data() const {
    std::vector<size_t> keep;
    auto p = storedPacket(keep);
    p->rows.reserve(natural_.size());
    for (size_t id : natural_)
        if (slots_[id].alive) p->rows.push_back(storedRow(slots_[id].cur, keep, *p));
    return p;
}

PacketPtr ClientDataSet::Delta() const {
    std::vector<size_t> keep;
    auto p = storedPacket(keep);
    p->isDelta = true;
    for (size_t id : pendingIds()) {
        const Slot& s = slots_[id];
        PacketChange c;
        if (!s.alive) {
            c.op = ChangeOp::Delete;
            c.original = storedRow(s.orig, keep, *p);
        } else if (s.status == Slot::Inserted) {
            c.op = ChangeOp::Insert;
            c.values = storedRow(s.cur, keep, *p);
        } else if (s.status == Slot::Modified) {
            c.op = ChangeOp::Modify;
            c.values = storedRow(s.cur, keep, *p);
            c.original = storedRow(s.orig, keep, *p);
        }
        p->changes.push_back(std::move(c));
    }
    return p;
}

void ClientDataSet::Open() {
    if (Active()) return;
    if (defs_.empty())
        throw std::logic_error(name_ + ": não há campos definidos para abrir o conjunto de dados.");
    calcAll();
    rebuildView(-1);
    pos_ = view_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = view_.empty();
    // Whoever follows the state sees the rows already there.
    setState(DataSetState::Browse);
    notify();
    fire(AfterOpen, *this);
    fire(AfterScroll, *this);
}

void ClientDataSet::Close() {
    if (!Active()) return;
    fire(BeforeClose, *this);
    editRow_.clear();
    modified_ = false;
    dropRows();
    view_.clear();
    pos_ = -1;
    bof_ = eof_ = true;
    setState(DataSetState::Inactive);
    fire(AfterClose, *this);
}

void ClientDataSet::EmptyDataSet() {
    checkActive();
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert) Cancel();
    dropRows();
    rebuildView(-1);
    pos_ = -1;
    bof_ = eof_ = true;
    notify();
}

// ---------------------------------------------------------------- change log

void ClientDataSet::dropRows() {
    slots_.clear();
    natural_.clear();
    naturalIsId_ = true;
    changed_.clear();
}

// The rows with pending changes, in natural order. A save touches these only, not
// every row of the list.
std::vector<size_t> ClientDataSet::pendingIds() const {
    auto pending = [this](size_t id) {
        const Slot& s = slots_[id];
        return !s.alive || s.status != Slot::Unchanged;
    };
    std::vector<size_t> out;
    if (!naturalIsId_) {
        for (size_t id : natural_)
            if (pending(id)) out.push_back(id);
        return out;
    }
    std::copy_if(changed_.begin(), changed_.end(), std::back_inserter(out), pending);
    std::sort(out.begin(), out.end());
    return out;
}

int ClientDataSet::ChangeCount() const {
    return static_cast<int>(std::count_if(changed_.begin(), changed_.end(), [this](size_t id) {
        const Slot& s = slots_[id];
        return !s.alive || s.status != Slot::Unchanged;
    }));
}

// Merging renumbers the rows only when deleted or inserted rows change their ids;
// otherwise each id stays what it is and only the changed rows are touched.
bool ClientDataSet::compactionNeeded() const {
    if (!naturalIsId_ || slots_.size() != natural_.size()) return true;
    return std::any_of(changed_.begin(), changed_.end(),
                       [this](size_t id) { return !slots_[id].alive; });
}

void ClientDataSet::MergeChangeLog() {
    int64_t keep = currentId();
    const bool compact = compactionNeeded();
    if (compact) {
        std::vector<Slot> slots;
        std::vector<size_t> natural;
        slots.reserve(natural_.size());
        int64_t newKeep = -1;
        for (size_t id : natural_) {
            Slot& s = slots_[id];
            if (!s.alive) continue;
            if (static_cast<int64_t>(id) == keep) newKeep = static_cast<int64_t>(slots.size());
            s.status = Slot::Unchanged;
            s.orig.clear();
            natural.push_back(slots.size());
            slots.push_back(std::move(s));
        }
        slots_ = std::move(slots);
        natural_ = std::move(natural);
        naturalIsId_ = true;
        keep = newKeep;
    } else {
        for (size_t id : changed_) {
            slots_[id].status = Slot::Unchanged;
            slots_[id].orig.clear();
        }
    }
    changed_.clear();
    if (compact || !viewCurrent_) {
        int savedPos = pos_;
        rebuildView(keep);
        if (keep < 0) pos_ = std::min(savedPos, static_cast<int>(view_.size()) - 1);
    }
    notify();
}

void ClientDataSet::CancelUpdates() {
    checkActive();
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert) Cancel();
    int savedPos = pos_;
    std::vector<size_t> natural;
    for (size_t id : natural_) {
        Slot& s = slots_[id];
        if (s.alive && s.status == Slot::Inserted) continue;
        if (!s.alive || s.status == Slot::Modified) s.cur = std::move(s.orig);
        s.orig.clear();
        s.alive = true;
        s.status = Slot::Unchanged;
        natural.push_back(id);
    }
    natural_ = std::move(natural);
    naturalChanged();
    changed_.clear();
    for (size_t id : natural_)
        calcRow(id);
    rebuildView(-1);
    pos_ = view_.empty() ? -1 : std::clamp(savedPos, 0, static_cast<int>(view_.size()) - 1);
    bof_ = pos_ <= 0;
    eof_ = view_.empty();
    notify();
}

// ---------------------------------------------------------------- editing

void ClientDataSet::checkActive() const {
    if (!Active())
        throw std::logic_error(name_ + ": operação não permitida com o conjunto de dados fechado.");
}

void ClientDataSet::checkBrowse(const char*) {
    checkActive();
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert) {
        updateRecord();
        if (modified_)
            Post();
        else
            Cancel();
    }
}

void ClientDataSet::checkBrowseModeForMove() {
    checkBrowse("mover");
}

void ClientDataSet::updateRecord() {
    auto hooks = updateHooks_;
    for (auto& [owner, hook] : hooks)
        if (hook) hook();
}

void ClientDataSet::startInsert(bool append) {
    checkBrowse("incluir");
    if (readOnly_) throw std::logic_error(name_ + ": o conjunto de dados é somente leitura.");
    fire(BeforeInsert, *this);
    fire(BeforeScroll, *this);
    // Where the new row goes in natural order: before the current row, or at the end.
    if (append || pos_ < 0) {
        insertAt_ = natural_.size();
    } else {
        size_t cur = view_[static_cast<size_t>(pos_)];
        insertAt_ = static_cast<size_t>(std::find(natural_.begin(), natural_.end(), cur) -
                                        natural_.begin());
    }
    insertShownAt_ = append || pos_ < 0 ? static_cast<int>(view_.size()) : pos_;
    editRow_ = layout_.blank();
    modified_ = false;
    setState(DataSetState::Insert);
    try {
        fire(OnNewRecord, *this);
    } catch (...) {
        editRow_.clear();
        modified_ = false;
        setState(DataSetState::Browse);
        throw;
    }
    // The defaults of a new row are not the user's typing: a row left as it was
    // created is dropped, not posted, when the cursor leaves it.
    modified_ = false;
    fire(AfterInsert, *this);
    fire(AfterScroll, *this);
}

void ClientDataSet::Insert() {
    startInsert(false);
}
void ClientDataSet::Append() {
    startInsert(true);
}

void ClientDataSet::Edit() {
    checkActive();
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert) return;
    if (view_.empty()) return Insert();
    if (readOnly_) throw std::logic_error(name_ + ": o conjunto de dados é somente leitura.");
    fire(BeforeEdit, *this);
    editRow_ = slots_[view_[static_cast<size_t>(pos_)]].cur;
    modified_ = false;
    setState(DataSetState::Edit);
    fire(AfterEdit, *this);
}

void ClientDataSet::Post() {
    checkActive();
    updateRecord();
    if (state_ != DataSetState::Edit && state_ != DataSetState::Insert) return;
    fire(BeforePost, *this);
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (defs_[i].required && !defs_[i].calculated && layout_.isNull(editRow_, i))
            throw std::invalid_argument("O campo '" + fields_[i]->DisplayLabel() +
                                        "' deve ser informado.");
    }
    std::string row = std::move(editRow_);
    editRow_.clear();
    size_t id;
    const bool inserting = state_ == DataSetState::Insert;
    if (inserting) {
        id = slots_.size();
        Slot s;
        s.cur = std::move(row);
        s.status = logChanges_ ? Slot::Inserted : Slot::Unchanged;
        slots_.push_back(std::move(s));
        const bool atEnd = insertAt_ == natural_.size() && id == natural_.size();
        natural_.insert(natural_.begin() + static_cast<std::ptrdiff_t>(insertAt_), id);
        if (!atEnd) naturalChanged();
        if (logChanges_) changed_.push_back(id);
    } else {
        id = view_[static_cast<size_t>(pos_)];
        Slot& s = slots_[id];
        if (row != s.cur) {
            if (logChanges_ && s.status == Slot::Unchanged) {
                s.orig = s.cur;
                s.status = Slot::Modified;
                changed_.push_back(id);
            }
            s.cur = std::move(row);
        }
    }
    calcRow(id);
    modified_ = false;
    if (inserting || !viewCurrent_ || !naturalIsId_)
        rebuildView(static_cast<int64_t>(id));
    else
        repositionEdited(id);
    setState(DataSetState::Browse);
    fire(AfterPost, *this);
}

void ClientDataSet::Cancel() {
    if (state_ != DataSetState::Edit && state_ != DataSetState::Insert) return;
    fire(BeforeCancel, *this);
    // A dropped new row takes the cursor back to the row it stood on: a scroll.
    const bool rolagem = state_ == DataSetState::Insert;
    if (rolagem) fire(BeforeScroll, *this);
    editRow_.clear();
    modified_ = false;
    setState(DataSetState::Browse);
    fire(AfterCancel, *this);
    if (rolagem) fire(AfterScroll, *this);
}

void ClientDataSet::Delete() {
    checkActive();
    if (state_ == DataSetState::Insert) return Cancel();
    if (view_.empty()) throw std::logic_error(name_ + ": não há registro para excluir.");
    if (readOnly_) throw std::logic_error(name_ + ": o conjunto de dados é somente leitura.");
    fire(BeforeDelete, *this);
    fire(BeforeScroll, *this);
    if (state_ == DataSetState::Edit) {
        editRow_.clear();
        modified_ = false;
        state_ = DataSetState::Browse;
    }
    size_t id = view_[static_cast<size_t>(pos_)];
    Slot& s = slots_[id];
    if (logChanges_ && s.status != Slot::Inserted) {
        if (s.status == Slot::Unchanged) {
            s.orig = s.cur;
            changed_.push_back(id);
        }
        s.alive = false;
    } else {
        // An inserted row deleted again leaves no trace in the change log.
        s.status = Slot::Unchanged;
        natural_.erase(std::find(natural_.begin(), natural_.end(), id));
        naturalChanged();
    }
    int savedPos = pos_;
    rebuildView(-1);
    pos_ = view_.empty() ? -1 : std::min(savedPos, static_cast<int>(view_.size()) - 1);
    bof_ = pos_ <= 0;
    eof_ = view_.empty();
    setState(DataSetState::Browse);
    fire(AfterDelete, *this);
    fire(AfterScroll, *this);
}

void ClientDataSet::Refresh() {
    checkBrowse("atualizar");
    calcAll();
    if (hasCalc_ && OnCalcFields) viewCurrent_ = false;
    notify();
}

// ---------------------------------------------------------------- values

int64_t ClientDataSet::currentId() const {
    if (pos_ < 0 || pos_ >= static_cast<int>(view_.size())) return -1;
    return static_cast<int64_t>(view_[static_cast<size_t>(pos_)]);
}

void ClientDataSet::SetDisplayRecord(int recNo) {
    displayRec_ = recNo >= 1 && recNo <= static_cast<int>(view_.size()) ? recNo : 0;
}

const std::string* ClientDataSet::rowRead() const {
    if (displayRec_ > 0 && displayRec_ <= static_cast<int>(view_.size()) &&
        state_ != DataSetState::CalcFields &&
        !((state_ == DataSetState::Edit) && displayRec_ - 1 == pos_))
        return &slots_[view_[static_cast<size_t>(displayRec_ - 1)]].cur;
    switch (state_) {
        case DataSetState::Edit:
        case DataSetState::Insert:
            return &editRow_;
        case DataSetState::CalcFields:
            return &slots_[static_cast<size_t>(calcRowId_)].cur;
        default: {
            const int64_t id = currentId();
            return id < 0 ? nullptr : &slots_[static_cast<size_t>(id)].cur;
        }
    }
}

Value ClientDataSet::CurrentValue(size_t field) const {
    const std::string* row = rowRead();
    return row ? layout_.get(*row, field) : Value();
}

bool ClientDataSet::CurrentIsNull(size_t field) const {
    const std::string* row = rowRead();
    return !row || layout_.isNull(*row, field);
}

std::string_view ClientDataSet::CurrentText(size_t field) const {
    const std::string* row = rowRead();
    return row ? layout_.text(*row, field) : std::string_view();
}

Value ClientDataSet::OriginalValue(size_t field) const {
    if (state_ == DataSetState::Insert) return Value();
    int64_t id = currentId();
    if (id < 0) return Value();
    const Slot& s = slots_[static_cast<size_t>(id)];
    if (s.status == Slot::Inserted) return Value();
    return layout_.get(s.status == Slot::Modified ? s.orig : s.cur, field);
}

void ClientDataSet::SetCurrentValue(size_t field, const Value& v) {
    const FieldDef& d = defs_[field];
    Value c = RowLayout::convert(d.type, v);  // throws on an impossible conversion
    if (d.type == FieldType::Text && d.size > 0 && !c.isNull()) {
        // Count characters, not UTF-8 bytes.
        const std::string& s = c.asString();
        if (utf8Chars(s) > static_cast<size_t>(d.size))
            throw std::invalid_argument("O valor '" + s + "' excede o tamanho do campo '" +
                                        fields_[field]->DisplayLabel() + "' (" +
                                        std::to_string(d.size) + " caracteres).");
    }
    if (state_ == DataSetState::CalcFields) {
        layout_.set(slots_[static_cast<size_t>(calcRowId_)].cur, field, c);
        return;
    }
    if (state_ != DataSetState::Edit && state_ != DataSetState::Insert)
        throw std::logic_error(name_ + ": o conjunto de dados não está em edição ou inclusão.");
    if (d.calculated)
        throw std::logic_error(name_ + ": o campo calculado '" + d.name +
                               "' só é atribuído no cálculo.");
    layout_.set(editRow_, field, c);
    modified_ = true;
    notify();
}

void ClientDataSet::calcRow(size_t id) {
    if (!hasCalc_ || !OnCalcFields) return;
    DataSetState saved = state_;
    int savedCalc = calcRowId_;
    state_ = DataSetState::CalcFields;
    calcRowId_ = static_cast<int>(id);
    try {
        for (size_t i = 0; i < defs_.size(); ++i)
            if (defs_[i].calculated) layout_.set(slots_[id].cur, i, Value());
        OnCalcFields(*this);
    } catch (...) {
        state_ = saved;
        calcRowId_ = savedCalc;
        throw;
    }
    state_ = saved;
    calcRowId_ = savedCalc;
}

void ClientDataSet::calcAll() {
    if (!hasCalc_ || !OnCalcFields) return;
    for (size_t id : natural_)
        if (slots_[id].alive) calcRow(id);
}

// ---------------------------------------------------------------- view

void ClientDataSet::rebuildView() {
    rebuildView(currentId());
}

bool ClientDataSet::passesFilter(size_t id) {
    if (!filtered_ || !filter_) return true;
    const Slot& s = slots_[id];
    auto read = [&](std::string_view f) {
        const Field* fld = FindField(f);
        return fld ? layout_.get(s.cur, fld->Index()) : Value();
    };
    return filter_->eval(read);
}

// Ascending by the index fields, nulls first; equal keys compare false.
bool ClientDataSet::indexLess(size_t a, size_t b) const {
    const std::string& ra = slots_[a].cur;
    const std::string& rb = slots_[b].cur;
    for (size_t f : indexFields_) {
        int c;
        FieldType t = layout_.type(f);
        bool an = layout_.isNull(ra, f), bn = layout_.isNull(rb, f);
        if (an || bn) {
            c = an == bn ? 0 : an ? -1 : 1;
        } else if (t == FieldType::Text || t == FieldType::Blob) {
            c = layout_.text(ra, f).compare(layout_.text(rb, f));
        } else {
            double x = layout_.number(ra, f), y = layout_.number(rb, f);
            c = x < y ? -1 : x > y ? 1 : 0;
        }
        if (c != 0) return c < 0;
    }
    return false;
}

// The view's order: the index, then natural order (ids are natural positions here).
bool ClientDataSet::shownBefore(size_t a, size_t b) const {
    if (indexLess(a, b)) return true;
    return !indexLess(b, a) && a < b;
}

void ClientDataSet::naturalChanged() {
    naturalIsId_ = true;
    for (size_t i = 0; i < natural_.size() && naturalIsId_; ++i)
        naturalIsId_ = natural_[i] == i;
}

// After one row was edited, its place in the view is found again without rebuilding
// the view: the other rows kept their values, so only this one may move or leave.
void ClientDataSet::repositionEdited(size_t id) {
    const auto at = static_cast<size_t>(pos_);
    const bool shown = passesFilter(id);
    const bool inPlace = shown && (at == 0 || shownBefore(view_[at - 1], id)) &&
                         (at + 1 == view_.size() || shownBefore(id, view_[at + 1]));
    if (!inPlace) {
        view_.erase(view_.begin() + static_cast<std::ptrdiff_t>(at));
        if (shown) {
            auto it = std::lower_bound(view_.begin(), view_.end(), id,
                                       [this](size_t a, size_t b) { return shownBefore(a, b); });
            pos_ = static_cast<int>(view_.insert(it, id) - view_.begin());
        } else {
            pos_ = view_.empty() ? -1 : 0;
        }
    }
    settleBounds();
}

void ClientDataSet::settleBounds() {
    if (pos_ < 0 && !view_.empty()) pos_ = 0;
    if (view_.empty()) {
        bof_ = eof_ = true;
    } else {
        bof_ = bof_ && pos_ == 0;
        eof_ = false;
    }
}

// Sorts the view in the order of indexLess, stable. Each row's keys are read once into
// one array (a text as its rank among the distinct texts, a number as itself), so the
// sort compares numbers in memory instead of reading every row at each comparison.
void ClientDataSet::sortView() {
    const size_t nf = indexFields_.size(), n = view_.size();
    std::vector<double> keys(n * nf);
    std::vector<uint8_t> nulls(n * nf);
    for (size_t k = 0; k < nf; ++k) {
        const size_t f = indexFields_[k];
        const FieldType t = layout_.type(f);
        const bool text = t == FieldType::Text || t == FieldType::Blob;
        std::unordered_map<std::string_view, uint32_t> ranks;
        std::vector<uint32_t*> rankOf(text ? n : 0, nullptr);
        for (size_t i = 0; i < n; ++i) {
            const std::string& row = slots_[view_[i]].cur;
            nulls[i * nf + k] = layout_.isNull(row, f);
            if (nulls[i * nf + k]) continue;
            if (text)
                rankOf[i] = &ranks.try_emplace(layout_.text(row, f), 0).first->second;
            else
                keys[i * nf + k] = layout_.number(row, f);
        }
        if (!text) continue;
        std::vector<std::pair<std::string_view, uint32_t*>> distinct;
        distinct.reserve(ranks.size());
        for (auto& [value, rank] : ranks)
            distinct.emplace_back(value, &rank);
        std::sort(distinct.begin(), distinct.end(),
                  [](const auto& a, const auto& b) { return a.first.compare(b.first) < 0; });
        for (size_t r = 0; r < distinct.size(); ++r)
            *distinct[r].second = static_cast<uint32_t>(r);
        for (size_t i = 0; i < n; ++i)
            if (rankOf[i]) keys[i * nf + k] = *rankOf[i];
    }
    std::vector<uint32_t> order(n);
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        for (size_t k = 0; k < nf; ++k) {
            const bool an = nulls[a * nf + k], bn = nulls[b * nf + k];
            if (an || bn) {
                if (an != bn) return an;
                continue;
            }
            const double x = keys[a * nf + k], y = keys[b * nf + k];
            if (x != y) return x < y;
        }
        return false;
    });
    std::vector<size_t> sorted(n);
    for (size_t i = 0; i < n; ++i)
        sorted[i] = view_[order[i]];
    view_ = std::move(sorted);
}

void ClientDataSet::rebuildView(int64_t keepId) {
    view_.clear();
    view_.reserve(natural_.size());
    for (size_t id : natural_)
        if (slots_[id].alive && passesFilter(id)) view_.push_back(id);
    if (!indexFields_.empty()) sortView();
    if (keepId >= 0) {
        auto it = std::find(view_.begin(), view_.end(), static_cast<size_t>(keepId));
        pos_ = it == view_.end() ? (view_.empty() ? -1 : 0) : static_cast<int>(it - view_.begin());
    } else if (pos_ >= static_cast<int>(view_.size())) {
        pos_ = static_cast<int>(view_.size()) - 1;
    }
    settleBounds();
    viewCurrent_ = true;
}

void ClientDataSet::SetIndexFieldNames(std::string names) {
    std::vector<size_t> idx = fieldIndexes(names);  // validates before changing anything
    if (Active()) checkBrowse("ordenar");
    indexFieldNames_ = std::move(names);
    indexFields_ = std::move(idx);
    if (Active()) {
        rebuildView(currentId());
        notify();
    }
}

void ClientDataSet::SetFilter(std::string expr) {
    std::shared_ptr<FilterExpression> f;
    if (!expr.empty())
        f = FilterExpression::parse(expr,
                                    [this](std::string_view n) { return FindField(n) != nullptr; });
    filterText_ = std::move(expr);
    filter_ = std::move(f);
    if (Active() && filtered_) {
        checkBrowse("filtrar");
        rebuildView(-1);
        First();
    }
}

void ClientDataSet::SetFiltered(bool on) {
    if (on == filtered_) return;
    if (Active()) checkBrowse("filtrar");
    filtered_ = on;
    if (Active()) {
        rebuildView(-1);
        First();
    }
}

// ---------------------------------------------------------------- navigation

int ClientDataSet::RecordCount() const {
    return Active() ? static_cast<int>(view_.size()) : 0;
}

int ClientDataSet::InsertingAt() const {
    return state_ == DataSetState::Insert ? insertShownAt_ : -1;
}

int ClientDataSet::RecNo() const {
    if (state_ == DataSetState::Insert) return 0;
    return pos_ < 0 ? 0 : pos_ + 1;
}

void ClientDataSet::moveTo(int pos, bool fireScroll) {
    if (fireScroll) fire(BeforeScroll, *this);
    pos_ = pos;
    notify();
    if (fireScroll) fire(AfterScroll, *this);
}

void ClientDataSet::First() {
    checkBrowseModeForMove();
    bof_ = true;
    eof_ = view_.empty();
    moveTo(view_.empty() ? -1 : 0, true);
}

void ClientDataSet::Last() {
    checkBrowseModeForMove();
    eof_ = true;
    bof_ = view_.empty();
    moveTo(static_cast<int>(view_.size()) - 1, true);
}

void ClientDataSet::MoveBy(int n) {
    checkBrowseModeForMove();
    if (view_.empty() || n == 0) {
        bof_ = bof_ || view_.empty();
        eof_ = eof_ || view_.empty();
        return;
    }
    int target = pos_ + n;
    int last = static_cast<int>(view_.size()) - 1;
    bof_ = target < 0;
    eof_ = target > last;
    target = std::clamp(target, 0, last);
    if (target != pos_) moveTo(target, true);
}

void ClientDataSet::Next() {
    MoveBy(1);
}
void ClientDataSet::Prior() {
    MoveBy(-1);
}

void ClientDataSet::SetRecNo(int recNo) {
    checkBrowseModeForMove();
    if (recNo < 1 || recNo > static_cast<int>(view_.size())) return;
    bof_ = eof_ = false;
    if (recNo - 1 != pos_) moveTo(recNo - 1, true);
}

int64_t ClientDataSet::Bookmark() const {
    return currentId();
}

bool ClientDataSet::BookmarkValid(int64_t b) const {
    return b >= 0 && std::find(view_.begin(), view_.end(), static_cast<size_t>(b)) != view_.end();
}

void ClientDataSet::GotoBookmark(int64_t b) {
    checkBrowseModeForMove();
    auto it = std::find(view_.begin(), view_.end(), static_cast<size_t>(b));
    if (b < 0 || it == view_.end())
        throw std::invalid_argument(name_ + ": registro não encontrado.");
    bof_ = eof_ = false;
    moveTo(static_cast<int>(it - view_.begin()), true);
}

bool ClientDataSet::rowMatches(size_t id, const std::vector<size_t>& idx,
                               const std::vector<Value>& vals, LocateOptions opt) const {
    const std::string& row = slots_[id].cur;
    for (size_t k = 0; k < idx.size(); ++k) {
        Value v = layout_.get(row, idx[k]);
        const Value& want = vals[k];
        if (v.isNull() || want.isNull()) {
            if (v.isNull() != want.isNull()) return false;
            continue;
        }
        if (opt.partialKey && (layout_.type(idx[k]) == FieldType::Text)) {
            std::string a = v.asString(), b = want.asString();
            if (a.size() < b.size()) return false;
            if (opt.caseInsensitive ? !equalsIgnoreCase(a.substr(0, b.size()), b)
                                    : a.compare(0, b.size(), b) != 0)
                return false;
            continue;
        }
        if (compareValues(v, want, opt.caseInsensitive) != 0) return false;
    }
    return true;
}

bool ClientDataSet::Locate(std::string_view fields, const std::vector<Value>& values,
                           LocateOptions opt) {
    checkBrowseModeForMove();
    std::vector<size_t> idx = fieldIndexes(fields);
    if (idx.size() != values.size())
        throw std::invalid_argument(name_ +
                                    ": quantidade de valores diferente da de campos em Locate.");
    for (size_t p = 0; p < view_.size(); ++p) {
        if (rowMatches(view_[p], idx, values, opt)) {
            bof_ = eof_ = false;
            moveTo(static_cast<int>(p), true);
            return true;
        }
    }
    return false;
}

Value ClientDataSet::Lookup(std::string_view fields, const std::vector<Value>& values,
                            std::string_view resultField) {
    checkActive();
    std::vector<size_t> idx = fieldIndexes(fields);
    size_t r = FieldByName(resultField).Index();
    for (size_t id : view_)
        if (rowMatches(id, idx, values, {})) return layout_.get(slots_[id].cur, r);
    return Value();
}

// ---------------------------------------------------------------- notification

void ClientDataSet::setState(DataSetState s) {
    if (state_ == s) return;
    state_ = s;
    StateChanged.emit();
    notify();
}

void ClientDataSet::notify() {
    if (disableCount_ > 0) {
        pendingNotify_ = true;
        return;
    }
    Changed.emit();
}

void ClientDataSet::DisableControls() {
    ++disableCount_;
}

void ClientDataSet::EnableControls() {
    if (disableCount_ == 0) return;
    if (--disableCount_ == 0 && pendingNotify_) {
        pendingNotify_ = false;
        Changed.emit();
    }
}

void ClientDataSet::AddUpdateRecordHook(const void* owner, std::function<void()> hook) {
    RemoveUpdateRecordHook(owner);
    updateHooks_.emplace_back(owner, std::move(hook));
}

void ClientDataSet::RemoveUpdateRecordHook(const void* owner) {
    std::erase_if(updateHooks_, [owner](const auto& p) { return p.first == owner; });
}

void ClientDataSet::afterScrollIfMoved(int64_t oldId) {
    if (currentId() != oldId) fire(AfterScroll, *this);
}

}  // namespace pag
