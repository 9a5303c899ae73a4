#include "platform/dataset/client_dataset.h"

namespace pag {

DataSource::DataSource(std::string name, ClientDataSet* ds) : name_(std::move(name)) {
    SetDataSet(ds);
}

DataSource::~DataSource() {
    detach();
}

void DataSource::SetDataSet(ClientDataSet* ds) {
    if (ds == ds_) return;
    detach();
    ds_ = ds;
    attach();
    Changed.emit();
}

void DataSource::attach() {
    if (!ds_) return;
    lastState_ = ds_->State();
    conn_ = ds_->Changed.connect([this] {
        if (OnDataChange) OnDataChange(*this);
        Changed.emit();
    });
    stateConn_ = ds_->StateChanged.connect([this] {
        DataSetState s = ds_->State();
        if (s == lastState_ || s == DataSetState::CalcFields) return;
        lastState_ = s;
        if (OnStateChange) OnStateChange(*this);
    });
    destroyConn_ = ds_->Destroying.connect([this] {
        // The dataset is going away: forget it without calling into it.
        conn_.disconnect();
        stateConn_.disconnect();
        ds_ = nullptr;
        lastState_ = DataSetState::Inactive;
    });
    ds_->AddUpdateRecordHook(this, [this] {
        auto editors = editors_;
        for (auto& [owner, write] : editors)
            if (write) write();
    });
}

void DataSource::detach() {
    if (!ds_) return;
    conn_.disconnect();
    stateConn_.disconnect();
    destroyConn_.disconnect();
    ds_->RemoveUpdateRecordHook(this);
    ds_ = nullptr;
}

void DataSource::AddEditor(const void* owner, std::function<void()> writePending) {
    RemoveEditor(owner);
    editors_.emplace_back(owner, std::move(writePending));
}

void DataSource::RemoveEditor(const void* owner) {
    std::erase_if(editors_, [owner](const auto& p) { return p.first == owner; });
}

}  // namespace pag
