// The desktop front end drawn offscreen: the screen opens on a demo database, the
// widgets show the models and the user's input reaches them.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include "Cli_pag12000/habconta.h"
#include "gui/desktop_host.h"
#include "gui/qt_text.h"
#include "platform/dataset/field.h"

namespace pag::gui {
namespace {

QString gDesktop;  // the pag12000-desktop executable

void settle() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

// Answers every message box that opens with its first button, from a zero-time
// timer, and remembers what it said.
class BoxAnswerer {
public:
    BoxAnswerer() {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || box->buttons().isEmpty()) return;
            seen.push_back(box->text());
            box->buttons().first()->click();
        });
        timer_.start();
    }
    QStringList seen;

private:
    QTimer timer_;
};

void press(QWidget* w, int key, const QString& text = {}, Qt::KeyboardModifiers m = {}) {
    QKeyEvent down(QEvent::KeyPress, key, m, text);
    QApplication::sendEvent(w, &down);
    QKeyEvent up(QEvent::KeyRelease, key, m, text);
    QApplication::sendEvent(w, &up);
}

void typeText(QWidget* w, const QString& text) {
    for (QChar c : text)
        press(w, c.unicode(), QString(c));
}

class DesktopScreen : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        login_.EmprProc = "01";
        login_.FiliProc = "0001";
        login_.Operador = "ADMIN";
        login_.ProcessingDate = Date::today();
        login_.DatabaseFile = fromQ(dir_.filePath(QStringLiteral("demo.db")));
        host_ = std::make_unique<DesktopHost>(login_);
        ASSERT_TRUE(host_->open());
        host_->window().show();
        settle();
        view_ = host_->screenView();
        ASSERT_NE(view_, nullptr);
    }

    template <typename T>
    T& first() {
        for (Control* c : view_->form().Controls())
            if (auto* t = dynamic_cast<T*>(c)) return *t;
        throw std::logic_error("controle ausente");
    }

    Grid& boletoGrid() {
        for (Control* c : view_->form().Controls())
            if (auto* g = dynamic_cast<Grid*>(c); g && g->DataSet() == &frmHabConta->cdsBoletos)
                return *g;
        throw std::logic_error("grade dos boletos ausente");
    }

    QTemporaryDir dir_;
    LoginContext login_;
    BoxAnswerer boxes_;
    std::unique_ptr<DesktopHost> host_;
    FormView* view_ = nullptr;
};

TEST_F(DesktopScreen, GridShowsTheDaysBoletosAndFollowsTheCursorBothWays) {
    ClientDataSet& boletos = frmHabConta->cdsBoletos;
    auto* table = qobject_cast<QTableView*>(view_->widgetFor(boletoGrid()));
    ASSERT_NE(table, nullptr);
    ASSERT_GE(boletos.RecordCount(), 2);
    EXPECT_EQ(table->model()->rowCount(), boletos.RecordCount());
    // Money sits on the right, in pt-BR.
    bool money = false;
    for (int col = 0; col < table->model()->columnCount(); ++col) {
        QModelIndex cell = table->model()->index(0, col);
        auto align = table->model()->data(cell, Qt::TextAlignmentRole).value<Qt::Alignment>();
        QString text = table->model()->data(cell).toString();
        if (align.testFlag(Qt::AlignRight) && text.contains(QLatin1Char(','))) money = true;
    }
    EXPECT_TRUE(money);
    // The user moves in the table: the dataset follows; the program moves: the table does.
    table->setCurrentIndex(table->model()->index(1, 0));
    EXPECT_EQ(boletos.RecNo(), 2);
    view_->act([&] { boletos.First(); });
    EXPECT_EQ(table->currentIndex().row(), 0);
    // Drawing other rows never moved the cursor.
    EXPECT_EQ(boletos.RecNo(), 1);
}

TEST_F(DesktopScreen, TypingReachesTheModelThroughItsMask) {
    MaskEdit& company = frmHabConta->medEmpresa;
    auto* edit = qobject_cast<QLineEdit*>(view_->widgetFor(company));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), QStringLiteral("01"));
    view_->act([&] { company.SetFocus(); });
    edit->selectAll();
    press(edit, Qt::Key_Backspace);
    EXPECT_EQ(company.Text(), "");
    typeText(edit, QStringLiteral("x1"));  // the mask takes digits only
    EXPECT_EQ(company.Text(), "1");
    edit->selectAll();
    typeText(edit, QStringLiteral("01"));
    EXPECT_EQ(company.Text(), "01");
    EXPECT_TRUE(company.Modified());
}

TEST_F(DesktopScreen, PagesSwitchBothWays) {
    PageControl& pages = first<PageControl>();
    auto* tabs = qobject_cast<QTabWidget*>(view_->widgetFor(pages));
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), pages.PageCount());
    int switched = 0;
    for (int i = tabs->count() - 1; i >= 0; --i) {
        if (!tabs->isTabVisible(i)) continue;
        tabs->setCurrentIndex(i);
        EXPECT_EQ(tabs->currentIndex(), pages.ActivePageIndex());
        if (pages.ActivePageIndex() == i) ++switched;
    }
    EXPECT_GE(switched, 2);
    view_->act([&] { pages.SelectPage(*pages.Pages().front()); });
    EXPECT_EQ(tabs->currentIndex(), 0);
}

TEST(DesktopProgram, ScreenshotsEveryPageAndTheFilterDialog) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString shots = dir.filePath(QStringLiteral("telas"));
    QProcess program;
    program.start(gDesktop, {QStringLiteral("--db"), dir.filePath(QStringLiteral("demo.db")),
                             QStringLiteral("--screenshot"), shots});
    ASSERT_TRUE(program.waitForFinished(180000)) << "o programa não terminou";
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    QStringList files = QDir(shots).entryList({QStringLiteral("*.png")}, QDir::Files);
    EXPECT_TRUE(files.contains(QStringLiteral("filtro.png"))) << files.join(' ').toStdString();
    EXPECT_GE(files.size(), 3);
    for (const QString& f : files) {
        QImage image(QDir(shots).filePath(f));
        EXPECT_GT(image.width(), 300) << f.toStdString();
        EXPECT_GT(image.height(), 200) << f.toStdString();
    }
}

}  // namespace
}  // namespace pag::gui

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 1) pag::gui::gDesktop = QString::fromLocal8Bit(argv[1]);
    return RUN_ALL_TESTS();
}
