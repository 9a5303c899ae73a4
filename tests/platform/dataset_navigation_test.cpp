// Locate, index order, filters, bookmarks.
#include <gtest/gtest.h>

#include "dataset_fixture.h"

namespace pag {
namespace {

class Navigation : public test::ThreeRows {};

std::string keys(ClientDataSet& ds) {
    std::string s;
    int64_t b = ds.Bookmark();
    for (ds.First(); !ds.Eof(); ds.Next())
        s += ds.FieldByName("NRLANBOLPAG").AsString().substr(9);
    if (ds.BookmarkValid(b)) ds.GotoBookmark(b);
    return s;
}

TEST_F(Navigation, LocateByOneOrSeveralFieldsIgnoringCase) {
    int scrolls = 0;
    ds.AfterScroll = [&](ClientDataSet&) { ++scrolls; };
    EXPECT_TRUE(ds.Locate("NMFANTFORN", Value("ALFA")));
    EXPECT_EQ(ds.RecNo(), 2);
    EXPECT_EQ(scrolls, 1);
    EXPECT_TRUE(ds.Locate("NRLANBOLPAG;IDHABIBPAG", {Value("0000000002"), Value("N")}));
    EXPECT_EQ(ds.FieldByName("NMFANTFORN").AsString(), "BETA");
    EXPECT_FALSE(ds.Locate("NRLANBOLPAG;IDHABIBPAG", {Value("0000000002"), Value("S")}));
    EXPECT_EQ(ds.FieldByName("NMFANTFORN").AsString(), "BETA");  // stays put
    EXPECT_TRUE(ds.Locate("DTVENBOLPAG", Value()));              // null matches null
    EXPECT_TRUE(ds.Locate("VRBOLPAG", Value(100.5)));
    EXPECT_TRUE(ds.Locate("NMFANTFORN", Value("GA"), {true, true}));
    EXPECT_EQ(ds.Lookup("NRLANBOLPAG", {Value("0000000001")}, "VRBOLPAG"), Value(100.5));
}

TEST_F(Navigation, IndexIsStableAscendingAndFollowsTheCurrentRow) {
    ds.Append();
    ds.FieldByName("NRLANBOLPAG").SetAsString("0000000004");
    ds.FieldByName("IDHABIBPAG").SetAsString("N");
    ds.FieldByName("VRBOLPAG").SetAsFloat(100.5);
    ds.Post();
    EXPECT_EQ(keys(ds), "3124");
    ds.SetIndexFieldNames("IDHABIBPAG");
    EXPECT_EQ(keys(ds), "3241");  // N rows keep their natural order
    ds.SetIndexFieldNames("VRBOLPAG;NRLANBOLPAG");
    EXPECT_EQ(keys(ds), "1423");
    ds.SetIndexFieldNames("DTVENBOLPAG");
    EXPECT_EQ(keys(ds).substr(0, 2), "24");  // nulls first
    ds.Locate("NRLANBOLPAG", Value("0000000003"));
    ds.SetIndexFieldNames("NRLANBOLPAG");
    EXPECT_EQ(ds.FieldByName("NRLANBOLPAG").AsString(), "0000000003");
    EXPECT_THROW(ds.SetIndexFieldNames("NAOEXISTE"), std::invalid_argument);
    EXPECT_EQ(ds.IndexFieldNames(), "NRLANBOLPAG");
    // An edit that changes the key moves the row, the cursor goes with it.
    ds.First();
    test::editAndPost(ds, "NRLANBOLPAG", "0000000099");
    EXPECT_EQ(ds.RecNo(), 4);
}

TEST_F(Navigation, FilterExpressions) {
    ds.SetFilter("IDHABIBPAG = 'N'");
    ds.SetFiltered(true);
    EXPECT_EQ(ds.RecordCount(), 2);
    ds.SetFilter("VRBOLPAG >= 200 and not (NMFANTFORN = 'BETA')");
    EXPECT_EQ(keys(ds), "3");
    ds.SetFilter("DTVENBOLPAG = null or VRBOLPAG < 101");
    EXPECT_EQ(keys(ds), "12");
    EXPECT_THROW(ds.SetFilter("VRBOLPAG >"), std::invalid_argument);
    EXPECT_THROW(ds.SetFilter("NAOEXISTE = 'x'"), std::invalid_argument);
    EXPECT_EQ(ds.Filter(), "DTVENBOLPAG = null or VRBOLPAG < 101");
    // A posted edit that leaves the filter takes the row out of sight.
    ds.First();
    test::editAndPost(ds, "VRBOLPAG", 500.0);
    EXPECT_EQ(ds.RecordCount(), 1);
    ds.SetFiltered(false);
    EXPECT_EQ(ds.RecordCount(), 3);
}

TEST(NavigationFromEmpty, BofEofRecNoAndEmptyDataSet) {
    ClientDataSet ds("cds");
    ds.SetFieldDefs(test::boletoDefs());
    ds.CreateDataSet();
    EXPECT_TRUE(ds.IsEmpty());
    EXPECT_TRUE(ds.Bof() && ds.Eof());
    EXPECT_EQ(ds.RecNo(), 0);
    EXPECT_THROW(ds.Delete(), std::logic_error);
    ds.Edit();  // an empty dataset inserts instead
    EXPECT_EQ(ds.State(), DataSetState::Insert);
    ds.Cancel();
    test::loadThree(ds);
    ds.Last();
    EXPECT_TRUE(ds.Eof());
    EXPECT_EQ(ds.RecNo(), 3);
    ds.Prior();
    ds.Prior();
    ds.Prior();
    EXPECT_TRUE(ds.Bof());
    EXPECT_EQ(ds.RecNo(), 1);
    ds.Close();
    EXPECT_FALSE(ds.Active());
    EXPECT_EQ(ds.RecordCount(), 0);
    EXPECT_THROW(ds.Edit(), std::logic_error);
}

}  // namespace
}  // namespace pag

namespace pag {
namespace {

TEST_F(Navigation, DisplayRecordReadsAnyRowWithoutMoving) {
    int scrolls = 0;
    ds.AfterScroll = [&](ClientDataSet&) { ++scrolls; };
    ds.FieldByName("NMFANTFORN").OnGetText = [](Field& f, bool) {
        return "<" + f.AsString() + ">";
    };
    ds.Edit();
    ds.FieldByName("NMFANTFORN").SetAsString("EDITADO");
    {
        DisplayRecordScope row(ds, 3);
        EXPECT_EQ(ds.FieldByName("NMFANTFORN").DisplayText(), "<BETA>");
    }
    {
        DisplayRecordScope row(ds, 1);  // the row being edited shows what was typed
        EXPECT_EQ(ds.FieldByName("NMFANTFORN").AsString(), "EDITADO");
    }
    EXPECT_EQ(ds.RecNo(), 1);
    EXPECT_EQ(scrolls, 0);
    EXPECT_EQ(ds.DisplayRecord(), 0);
}

}  // namespace
}  // namespace pag
