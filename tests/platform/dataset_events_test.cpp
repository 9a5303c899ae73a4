// Event order, refusal in before-events and the detach guard.
#include <gtest/gtest.h>

#include <stdexcept>

#include "dataset_fixture.h"
#include "platform/ui/abort.h"

namespace pag {
namespace {

struct Recorder {
    std::vector<std::string> log;
    void attach(ClientDataSet& ds) {
        auto rec = [this](const char* n) {
            return [this, n](ClientDataSet&) { log.push_back(n); };
        };
        ds.BeforeInsert = rec("BeforeInsert");
        ds.OnNewRecord = rec("OnNewRecord");
        ds.AfterInsert = rec("AfterInsert");
        ds.BeforeEdit = rec("BeforeEdit");
        ds.AfterEdit = rec("AfterEdit");
        ds.BeforePost = rec("BeforePost");
        ds.AfterPost = rec("AfterPost");
        ds.AfterCancel = rec("AfterCancel");
        ds.BeforeDelete = rec("BeforeDelete");
        ds.AfterDelete = rec("AfterDelete");
        ds.AfterScroll = rec("AfterScroll");
        ds.AfterOpen = rec("AfterOpen");
    }
    std::string take() {
        std::string s;
        for (auto& e : log)
            s += (s.empty() ? "" : ",") + e;
        log.clear();
        return s;
    }
};

TEST(DataSetEvents, OrderOfEveryOperation) {
    ClientDataSet ds("cdsBoletos");
    Recorder r;
    r.attach(ds);
    test::loadThree(ds);
    EXPECT_EQ(r.take(), "AfterOpen,AfterScroll");

    ds.Edit();
    EXPECT_EQ(r.take(), "BeforeEdit,AfterEdit");
    ds.FieldByName("IDHABIBPAG").SetAsString("S");
    ds.Post();
    EXPECT_EQ(r.take(), "BeforePost,AfterPost");

    ds.Insert();
    EXPECT_EQ(r.take(), "BeforeInsert,OnNewRecord,AfterInsert,AfterScroll");
    ds.Cancel();  // the dropped row gives the cursor back to the row it stood on
    EXPECT_EQ(r.take(), "AfterCancel,AfterScroll");
    ds.Edit();
    ds.Cancel();
    EXPECT_EQ(r.take(), "BeforeEdit,AfterEdit,AfterCancel");

    ds.Next();
    EXPECT_EQ(r.take(), "AfterScroll");
    ds.Delete();
    EXPECT_EQ(r.take(), "BeforeDelete,AfterDelete,AfterScroll");

    // Moving while editing posts first.
    ds.First();
    r.take();
    ds.Edit();
    ds.FieldByName("VRBOLPAG").SetAsFloat(1.0);
    ds.Next();
    EXPECT_EQ(r.take(), "BeforeEdit,AfterEdit,BeforePost,AfterPost,AfterScroll");
    // Next at the end moves nowhere and says nothing.
    ds.Last();
    r.take();
    ds.Next();
    EXPECT_TRUE(ds.Eof());
    EXPECT_EQ(r.take(), "");
}

TEST(DataSetEvents, RefusalInBeforeEventsLeavesEverythingAsItWas) {
    ClientDataSet ds("cdsBoletos");
    test::loadThree(ds);

    ds.BeforeEdit = [](ClientDataSet&) { throw SilentAbort(); };
    EXPECT_THROW(ds.Edit(), SilentAbort);
    EXPECT_EQ(ds.State(), DataSetState::Browse);
    ds.BeforeEdit = nullptr;

    ds.BeforePost = [](ClientDataSet& d) {
        if (d.FieldByName("VRBOLPAG").AsFloat() < 0) throw std::invalid_argument("negativo");
    };
    ds.Edit();
    ds.FieldByName("VRBOLPAG").SetAsFloat(-5);
    EXPECT_THROW(ds.Post(), std::invalid_argument);
    // Still editing, the typed value kept, nothing logged.
    EXPECT_EQ(ds.State(), DataSetState::Edit);
    EXPECT_DOUBLE_EQ(ds.FieldByName("VRBOLPAG").AsFloat(), -5);
    EXPECT_EQ(ds.ChangeCount(), 0);
    ds.Cancel();
    EXPECT_DOUBLE_EQ(ds.FieldByName("VRBOLPAG").AsFloat(), 300.0);

    ds.OnNewRecord = [](ClientDataSet&) { throw SilentAbort(); };
    EXPECT_THROW(ds.Insert(), SilentAbort);
    EXPECT_EQ(ds.State(), DataSetState::Browse);
    EXPECT_EQ(ds.RecordCount(), 3);

    ds.BeforeDelete = [](ClientDataSet&) { throw SilentAbort(); };
    EXPECT_THROW(ds.Delete(), SilentAbort);
    EXPECT_EQ(ds.RecordCount(), 3);
    EXPECT_EQ(ds.ChangeCount(), 0);
}

TEST(DataSetEvents, DetachGuardReattachesEvenWhenAnExceptionPasses) {
    ClientDataSet ds("cdsBoletos");
    int posts = 0;
    ds.AfterPost = [&](ClientDataSet&) { ++posts; };
    test::loadThree(ds);
    try {
        DetachEvent guard(ds.AfterPost);
        ds.Edit();
        ds.FieldByName("IDHABIBPAG").SetAsString("S");
        ds.Post();
        throw std::runtime_error("falha no meio");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(posts, 0);
    ds.Edit();
    ds.FieldByName("IDHABIBPAG").SetAsString("N");
    ds.Post();
    EXPECT_EQ(posts, 1);
}

TEST(DataSetEvents, StateSignalsAndDisabledControls) {
    ClientDataSet ds("cdsBoletos");
    test::loadThree(ds);
    DataSource src("dtsBoletos", &ds);
    std::vector<DataSetState> states;
    int changes = 0;
    src.OnStateChange = [&](DataSource& s) { states.push_back(s.State()); };
    src.OnDataChange = [&](DataSource&) { ++changes; };
    {
        ControlsDisabled off(ds);
        ds.Next();
        ds.Next();
        ds.Edit();
        ds.Cancel();
        EXPECT_EQ(changes, 0);
    }
    EXPECT_EQ(changes, 1);  // one notification when controls come back
    // State changes reach the data source even while controls are disabled.
    EXPECT_EQ(states, (std::vector<DataSetState>{DataSetState::Edit, DataSetState::Browse}));

    // Reopened with new rows, the data source's followers see them with the state.
    int rowsSeen = -1;
    src.OnStateChange = [&](DataSource&) { rowsSeen = ds.Active() ? ds.RecordCount() : -1; };
    ds.SetData(ds.Data());
    EXPECT_EQ(rowsSeen, 3);

    // Nested disable.
    ds.DisableControls();
    ds.DisableControls();
    ds.First();
    ds.EnableControls();
    EXPECT_TRUE(ds.ControlsDisabled());
    ds.EnableControls();
    EXPECT_FALSE(ds.ControlsDisabled());
}

TEST(DataSetEvents, PostAsksBoundEditorsForPendingTextFirst) {
    ClientDataSet ds("cdsBoletos");
    test::loadThree(ds);
    DataSource src("dtsBoletos", &ds);
    std::string typed = "S";
    int order = 0, editorAt = 0, beforePostAt = 0;
    src.AddEditor(&typed, [&] {
        editorAt = ++order;
        if (ds.State() == DataSetState::Edit) ds.FieldByName("IDHABIBPAG").SetAsString(typed);
    });
    ds.BeforePost = [&](ClientDataSet&) { beforePostAt = ++order; };
    ds.Edit();
    ds.Post();
    EXPECT_EQ(editorAt, 1);
    EXPECT_EQ(beforePostAt, 2);
    EXPECT_EQ(ds.FieldByName("IDHABIBPAG").AsString(), "S");
}

}  // namespace
}  // namespace pag

namespace pag {
namespace {

TEST(DataSetEvents, ADataSourceOutlivingItsDataSetLetsGo) {
    // A screen's members may be destroyed dataset first, data source after.
    DataSource src("dtsPadrao");
    int changes = 0;
    src.OnDataChange = [&](DataSource&) { ++changes; };
    {
        ClientDataSet ds("cdsBoletos");
        test::loadThree(ds);
        src.SetDataSet(&ds);
        ds.Next();
        EXPECT_EQ(changes, 1);
    }
    EXPECT_EQ(src.DataSet(), nullptr);
    EXPECT_EQ(src.State(), DataSetState::Inactive);
    ClientDataSet other("cdsOutro");
    test::loadThree(other);
    src.SetDataSet(&other);  // rebinding after the loss works
    other.Next();
    EXPECT_EQ(changes, 2);
}

}  // namespace
}  // namespace pag
