// The database connection: set-up, statements and their values, errors, transactions.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/dataset/packet.h"
#include "platform/sql/column_types.h"
#include "platform/sql/database.h"
#include "sql_backends.h"

namespace pag {
namespace {

namespace fs = std::filesystem;

// A directory of its own per test, removed afterwards.
class TempDir {
public:
    TempDir() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = fs::temp_directory_path() /
                ("pag_sql_" + std::to_string(::getpid()) + "_" + info->name());
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempDir() { fs::remove_all(path_); }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

Value scalar(Database& db, const std::string& sql) {
    Statement st = db.prepare(sql);
    EXPECT_TRUE(st.step());
    return st.column(0);
}

TEST(Database, MemoryAndFileConnectionsAreSetUp) {
    Database mem;
    EXPECT_TRUE(mem.isMemory());
    EXPECT_EQ(mem.journalMode(), "memory");
    EXPECT_EQ(scalar(mem, "PRAGMA foreign_keys").asInteger(), 1);

    TempDir dir;
    std::string path = dir.file("suite.db");
    {
        Database db(path);  // created when missing
        EXPECT_EQ(db.journalMode(), "wal");
        EXPECT_EQ(scalar(db, "PRAGMA foreign_keys").asInteger(), 1);
        EXPECT_EQ(scalar(db, "PRAGMA busy_timeout").asInteger(), 5000);
        db.exec("CREATE TABLE T (A TEXT); INSERT INTO T VALUES ('x'); INSERT INTO T VALUES ('y');");
    }
    Database again(path);
    EXPECT_EQ(scalar(again, "SELECT group_concat(A, ',') FROM T").asString(), "x,y");
}

TEST(Database, OpeningFailuresSayWhichFileAndWhy) {
    TempDir dir;
    std::string missingDir = dir.file("nao/existe/suite.db");
    std::string msg = errorOf([&] { Database db(missingDir); });
    EXPECT_NE(msg.find("Não foi possível abrir o banco de dados " + missingDir), std::string::npos)
        << msg;

    std::string notDb = dir.file("texto.db");
    std::ofstream(notDb) << "isto não é um banco de dados, apenas texto comum com várias linhas\n"
                         << std::string(200, 'x');
    msg = errorOf([&] { Database db(notDb); });
    EXPECT_NE(msg.find("o arquivo não é um banco de dados (file is not a database)"),
              std::string::npos)
        << msg;
    EXPECT_EQ(errorOf([] { Database db(""); }), "O caminho do banco de dados não foi informado.");
}

// The same tests on each backend.
class OnBoth : public BackendTest {};
PAG_ON_BOTH_BACKENDS(OnBoth);

TEST_P(OnBoth, ForeignKeysAreEnforcedWithAClearMessage) {
    Database& db = this->db();
    db.exec(R"(CREATE TABLE EMPRESA (CDEMPRESA VARCHAR(2) PRIMARY KEY);
               CREATE TABLE FILIAL (CDFILIAL VARCHAR(4) PRIMARY KEY,
                                    CDEMPRESA VARCHAR(2) REFERENCES EMPRESA (CDEMPRESA));)");
    try {
        db.exec("INSERT INTO FILIAL VALUES ('0001', '99')");
        FAIL() << "a filial de uma empresa inexistente foi aceita";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.code(), SQLITE_CONSTRAINT_FOREIGNKEY);
        EXPECT_STREQ(e.what(),
                     "Erro ao executar o comando SQL: violação de restrição de integridade "
                     "(FOREIGN KEY constraint failed).");
    }
    EXPECT_EQ(scalar(db, "SELECT count(*) FROM FILIAL").asInteger(), 0);
}

TEST_P(OnBoth, ValuesRoundTripThroughTheDatabase) {
    Database& db = this->db();
    db.exec(std::string("CREATE TABLE V (K INTEGER, T VARCHAR(10), F DOUBLE PRECISION, ") +
            "I BIGINT, B INTEGER, D DATE, L " + (pg() ? "BYTEA" : "BLOB") + ")");
    Statement ins = db.prepare("INSERT INTO V VALUES (:K, :T, :F, :I, :B, :D, :L)");
    ins.bind("K", int64_t{1});
    ins.bind("T", "ação 'x'");
    ins.bind(":F", 1234.5);
    ins.bind("i", int64_t{1} << 40);  // names are case-insensitive
    ins.bind("B", true);
    ins.bind("D", Date::fromYmd(2024, 2, 29));
    ins.bind("L", Blob{std::string("\0\xff", 2)});
    EXPECT_EQ(ins.execute(), 1);
    ins.clearBindings();
    ins.bind("K", int64_t{2});
    ins.bind("D", Date());  // the empty date is null
    ins.execute();

    Statement sel = db.prepare("SELECT T, F, I, B, D, L, D IS NULL AS N FROM V ORDER BY K");
    ASSERT_TRUE(sel.step());
    EXPECT_EQ(sel.column("T"), Value("ação 'x'"));
    EXPECT_EQ(sel.column(1), Value(1234.5));
    EXPECT_EQ(sel.column(2), Value(int64_t{1} << 40));
    EXPECT_EQ(sel.column(3), Value(int64_t{1}));  // stored as 1
    EXPECT_EQ(sel.column(3, FieldType::Boolean), Value(true));
    EXPECT_EQ(sel.column(4), Value("2024-02-29"));
    EXPECT_EQ(sel.column(4, FieldType::Date), Value(Date::fromYmd(2024, 2, 29)));
    EXPECT_EQ(sel.column(5), Value(Blob{std::string("\0\xff", 2)}));
    EXPECT_EQ(sel.columnDeclaredType(0), "VARCHAR(10)");
    ASSERT_TRUE(sel.step());
    EXPECT_TRUE(sel.column(4).isNull());
    EXPECT_EQ(sel.column(6), Value(int64_t{1}));
    EXPECT_TRUE(sel.column(0).isNull());  // cleared bindings are null
    EXPECT_FALSE(sel.step());
}

TEST_P(OnBoth, RefusesWhatCannotBeRunSafely) {
    Database& db = this->db();
    db.exec("CREATE TABLE T (A VARCHAR(5) PRIMARY KEY)");
    EXPECT_EQ(errorOf([&] { db.prepare("SELECT 1; SELECT 2"); }),
              "O comando SQL tem mais de uma instrução; use um comando por vez ou um script.");
    EXPECT_NO_THROW(db.prepare("SELECT 1; -- fim"));
    EXPECT_EQ(errorOf([&] { db.prepare("  -- nada\n"); }), "O comando SQL está vazio.");
    EXPECT_EQ(errorOf([&] { db.prepare("SELECT * FROM NADA"); }),
              pg() ? "Erro no comando SQL (relation \"nada\" does not exist)."
                   : "Erro no comando SQL (no such table: NADA).");

    Statement st = db.prepare("INSERT INTO T VALUES (:A)");
    EXPECT_EQ(errorOf([&] { st.bind("B", "x"); }), "O parâmetro B não existe no comando SQL.");
    auto packet = std::make_shared<const Packet>();
    EXPECT_EQ(errorOf([&] { st.bind("A", Value(packet)); }),
              "Um valor do tipo pacote de dados não pode ser passado como parâmetro de um "
              "comando SQL.");
    EXPECT_NE(errorOf([&] { st.column(3); }).find("não existe"), std::string::npos);

    // A failed run leaves the statement ready to run again.
    st.bind("A", "x");
    st.execute();
    EXPECT_NE(errorOf([&] { st.execute(); }).find("UNIQUE constraint failed: T.A"),
              std::string::npos);
    st.bind("A", "y");
    EXPECT_EQ(st.execute(), 1);
}

TEST(Statement, StoredValuesConvertToFieldTypesOrSayWhyNot) {
    EXPECT_EQ(convertStored("12.5", FieldType::Float, "C"), Value(12.5));
    EXPECT_EQ(convertStored("1.234", FieldType::Float, "C"), Value(1.234));  // never pt-BR here
    EXPECT_EQ(convertStored(int64_t{7}, FieldType::Text, "C"), Value("7"));
    EXPECT_EQ(convertStored(0.1, FieldType::Text, "C"), Value("0.1"));
    EXPECT_EQ(convertStored(3.0, FieldType::Integer, "C"), Value(int64_t{3}));
    EXPECT_EQ(convertStored("2024-01-31 10:00:00", FieldType::Date, "C"),
              Value(Date::fromYmd(2024, 1, 31)));
    EXPECT_TRUE(convertStored("  ", FieldType::Date, "C").isNull());
    EXPECT_EQ(convertStored("S", FieldType::Boolean, "C"), Value(true));

    EXPECT_EQ(errorOf([] { convertStored("abc", FieldType::Float, "VRBOLPAG"); }),
              "O valor 'abc' da coluna VRBOLPAG não é um número.");
    EXPECT_EQ(errorOf([] { convertStored(2.5, FieldType::Integer, "QT"); }),
              "O valor 2,5 da coluna QT não é um inteiro.");
    for (const char* bad : {"31/12/2024", "2024-02-30", "2024-01-31x"})
        EXPECT_NE(errorOf([&] {
                      convertStored(bad, FieldType::Date, "DTVENBOLPAG");
                  }).find("da coluna DTVENBOLPAG não é uma data (AAAA-MM-DD)"),
                  std::string::npos)
            << bad;

    EXPECT_EQ(fieldTypeOfDeclared("VARCHAR(40)"), FieldType::Text);
    EXPECT_EQ(sizeOfDeclared("varchar(40)"), 40);
    EXPECT_EQ(fieldTypeOfDeclared("NUMERIC(15,2)"), FieldType::Float);
    EXPECT_EQ(fieldTypeOfDeclared("DATETIME"), FieldType::Date);
    EXPECT_EQ(fieldTypeOfDeclared("BIGINT"), FieldType::Integer);
    EXPECT_EQ(fieldTypeOfDeclared(""), std::nullopt);
}

TEST_P(OnBoth, NvlTakesEmptyTextAsNullAndInstrFindsText) {
    Database& db = this->db();
    EXPECT_EQ(scalar(db, "SELECT NVL(NULL, 'x')"), Value("x"));
    EXPECT_EQ(scalar(db, "SELECT NVL('', 'x')"), Value("x"));
    EXPECT_EQ(scalar(db, "SELECT NVL('a', 'x')"), Value("a"));
    EXPECT_EQ(scalar(db, "SELECT NVL(0, 5)"), Value(int64_t{0}));
    EXPECT_EQ(scalar(db, "SELECT INSTR('ABCDE', 'CD')"), Value(int64_t{3}));
    EXPECT_EQ(scalar(db, "SELECT INSTR('ABCDE', 'X')"), Value(int64_t{0}));
    // A blank or null code parameter lists every row, of a text or a date column.
    db.exec(
        "CREATE TABLE T (C VARCHAR(2), D DATE);"
        "INSERT INTO T VALUES ('01', '2024-01-31'); INSERT INTO T VALUES ('02', NULL);");
    Statement st = db.prepare("SELECT count(*) FROM T WHERE C = NVL(:P_C, C)");
    for (const auto& [code, n] : {std::pair{Value(), 2}, {Value(""), 2}, {Value("02"), 1}}) {
        st.bind("P_C", code);
        ASSERT_TRUE(st.step());
        EXPECT_EQ(st.column(0), Value(int64_t{n})) << code.debugString();
        st.reset();
    }
    st = db.prepare("SELECT count(*) FROM T WHERE D = NVL(:P_D, D)");
    st.bind("P_D", Date());
    EXPECT_EQ(st.step() ? st.column(0) : Value(), Value(int64_t{1}));
}

TEST_P(OnBoth, TransactionsCommitOrRollBackAsAWhole) {
    Database& db = this->db();
    db.exec("CREATE TABLE T (A VARCHAR(5) PRIMARY KEY)");
    auto count = [&] { return scalar(db, "SELECT count(*) FROM T").asInteger(); };
    {
        Transaction tx(db);
        db.exec("INSERT INTO T VALUES ('a')");
        tx.commit();
        EXPECT_FALSE(db.inTransaction());
        EXPECT_EQ(errorOf([&] { tx.commit(); }), "Não há transação em andamento para confirmar.");
    }
    EXPECT_THROW(
        {
            Transaction tx(db);
            db.exec("INSERT INTO T VALUES ('b')");
            db.exec("INSERT INTO T VALUES ('a')");  // duplicate: the whole change goes
            tx.commit();
        },
        DatabaseError);
    EXPECT_FALSE(db.inTransaction());
    EXPECT_EQ(count(), 1);
    {
        Transaction tx(db);
        db.exec("INSERT INTO T VALUES ('c')");
        EXPECT_EQ(errorOf([&] { Transaction inner(db); }),
                  "Já existe uma transação em andamento nesta conexão.");
        tx.rollback();
        EXPECT_FALSE(tx.active());
    }
    EXPECT_EQ(count(), 1);
}

TEST(Transaction, ImmediateTakesTheWriteLockAtOnce) {
    TempDir dir;
    std::string path = dir.file("suite.db");
    Database a(path);
    Database b(path, 0);  // no waiting: a lock shows at once
    a.exec("CREATE TABLE T (A TEXT)");
    {
        Transaction deferred(a);
        scalar(a, "SELECT count(*) FROM T");
        Transaction other(b, TransactionMode::Immediate);  // a only reads: b may write
        b.exec("INSERT INTO T VALUES ('b')");
        other.commit();
        // What a read then saw is stale now: a cannot write on it. Hence IMMEDIATE for a
        // transaction that reads and then writes.
        try {
            a.exec("INSERT INTO T VALUES ('a')");
            FAIL() << "a wrote over a stale read";
        } catch (const DatabaseError& e) {
            EXPECT_EQ(e.code(), SQLITE_BUSY_SNAPSHOT);
        }
    }
    Transaction held(a, TransactionMode::Immediate);
    try {
        Transaction other(b, TransactionMode::Immediate);
        FAIL() << "two connections held the write lock";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.code() & 0xff, SQLITE_BUSY);
        EXPECT_NE(std::string(e.what()).find("bloqueado por outra conexão"), std::string::npos);
    }
    a.exec("INSERT INTO T VALUES ('a')");
    held.commit();
    EXPECT_EQ(scalar(b, "SELECT group_concat(A, ',') FROM T").asString(), "b,a");
}

}  // namespace
}  // namespace pag
