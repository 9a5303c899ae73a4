// The cash going out per due date, from the screen opened on the demo database: the
// chart's series against the sums the database itself makes, and a day chosen on the
// chart narrowing the list, with the totals under the grid following it.
#include "Cli_pag12100/filtro_hab.h"
#include "contracts/consiste.h"
#include "habconta/screen_fixture.h"
#include "platform/sql/query.h"
#include "platform/ui/date_edit.h"
#include "platform/ui/menu.h"

namespace pag {
namespace {

constexpr int32_t kDezAnos = 3653;

class CashOutChart : public testing_screen::ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        // Every boleto of ten years each way, as the clerk's filter would list them.
        usuario([&] {
            frmFiltroHab->Get<DateEdit>("depDataIni").SetDate(Date::today().addDays(-kDezAnos));
            frmFiltroHab->Get<DateEdit>("depDataFin").SetDate(Date::today().addDays(kDezAnos));
            frmFiltroHab->Confirma();
        });
        ASSERT_GT(tela().cdsBoletos.RecordCount(), 20);
    }

    // The chart the menu item shows; the user's clicks on it go through its actions.
    const ScriptedUserInterface::ChartShown& abreGrafico() {
        const size_t antes = ui_.ChartsShown().size();
        usuario([&] { tela().Get<MenuItem>("mnuSaidaCaixa").Click(); });
        EXPECT_EQ(ui_.Messages().size(), 0u);
        EXPECT_EQ(ui_.ChartsShown().size(), antes + 1);
        return ui_.ChartsShown().back();
    }

    // The day with the most boletos, and how many it has.
    std::pair<Date, long> diaMaisCheio(const CashOut& c) {
        const CashOutDay& d = c.days.at(c.Busiest(0, c.days.size()));
        return {d.day, d.enabledCount + d.otherCount};
    }

    // What the grid lists: count, and the marked boletos' count and value.
    struct Totais {
        int listados = 0, marcados = 0;
        double valorMarcado = 0;
    };
    Totais contaGrade() {
        Totais t;
        ClientDataSet& cds = tela().cdsBoletos;
        t.listados = cds.RecordCount();
        for (int r = 1; r <= t.listados; ++r) {
            DisplayRecordScope reg(cds, r);
            if (cds.FieldByName("IDMARCADO").AsString() != "S") continue;
            ++t.marcados;
            t.valorMarcado += RoundDec(cds.FieldByName("VRFINALBPAG").AsFloat(), 2);
        }
        return t;
    }
    void confereTotais() {
        const Totais t = contaGrade();
        EXPECT_EQ(tela().nedCont.GetNumber(), t.marcados);
        EXPECT_NEAR(tela().nedTotal.GetNumber(), t.valorMarcado, 0.005);
        EXPECT_EQ(tela().Get<Label>("lblQtdBoletos").Caption(),
                  std::to_string(t.listados) +
                      (t.listados == 1 ? " boleto listado" : " boletos listados"));
    }
};

TEST_F(CashOutChart, SeriesEqualTheSumsTheDatabaseMakesOverTheListedBoletos) {
    // One boleto enabled on a day with others not enabled: both sides of one day.
    ClientDataSet& cds = tela().cdsBoletos;
    const auto& grafico = abreGrafico();
    const CashOut& c = grafico.data;
    ASSERT_GT(c.days.size(), 5u);

    Query q("qrySoma", suiteDb_.get(),
            "SELECT DTVENBOLPAG, COUNT(*) AS QTD, "
            "SUM(CASE WHEN IDHABIBPAG = 'S' THEN ROUND(VRFINALBPAG * 100) ELSE 0 END) AS HAB, "
            "SUM(CASE WHEN IDHABIBPAG = 'S' THEN 0 ELSE ROUND(VRFINALBPAG * 100) END) AS NHAB "
            "FROM BOLETPAGAR WHERE CDEMPRESA = '01' AND IDSTATBPAG = 'A' AND NRLANBOLREAL IS NULL "
            "AND DTVENBOLPAG BETWEEN :INI AND :FIN GROUP BY DTVENBOLPAG ORDER BY DTVENBOLPAG");
    q.ParamByName("INI").SetValue(Value(Date::today().addDays(-kDezAnos)));
    q.ParamByName("FIN").SetValue(Value(Date::today().addDays(kDezAnos)));
    q.Open();
    std::vector<CashOutDay> esperado;
    long linhas = 0;
    bool ambosOsLados = false;
    for (q.First(); !q.Eof(); q.Next()) {
        CashOutDay d;
        d.day = q.FieldByName("DTVENBOLPAG").AsDateTime();
        d.enabledCents = static_cast<int64_t>(q.FieldByName("HAB").AsFloat());
        d.otherCents = static_cast<int64_t>(q.FieldByName("NHAB").AsFloat());
        linhas += q.FieldByName("QTD").AsInteger();
        ambosOsLados = ambosOsLados || (d.enabledCents != 0 && d.otherCents != 0);
        esperado.push_back(d);
    }
    // The same rows as the grid lists, every one of them.
    ASSERT_EQ(linhas, cds.RecordCount());
    EXPECT_TRUE(ambosOsLados) << "os dados de demonstração deveriam ter um dia misto";
    ASSERT_EQ(c.days.size(), esperado.size());
    long contados = 0;
    for (size_t i = 0; i < esperado.size(); ++i) {
        SCOPED_TRACE(esperado[i].day.toString());
        EXPECT_EQ(c.days[i].day, esperado[i].day);
        EXPECT_EQ(c.days[i].enabledCents, esperado[i].enabledCents);
        EXPECT_EQ(c.days[i].otherCents, esperado[i].otherCents);
        contados += c.days[i].enabledCount + c.days[i].otherCount;
    }
    EXPECT_EQ(contados, cds.RecordCount());
    // The chart opens on the first day from the processing date on, unless that leaves
    // its window short of days.
    size_t hoje = 0;
    while (hoje < c.days.size() && c.days[hoje].day < Date::today())
        ++hoje;
    EXPECT_EQ(grafico.firstShown,
              std::min(hoje, c.days.size() - std::min(c.days.size(), kCashOutDaysShown)));
}

TEST_F(CashOutChart, ChoosingADayNarrowsTheListAndTheTotalsFollow) {
    ClientDataSet& cds = tela().cdsBoletos;
    const int todos = cds.RecordCount();
    const auto [dia, quantos] = diaMaisCheio(abreGrafico().data);
    ASSERT_GT(quantos, 1);
    // One boleto of that day marked and one of another: only the day's counts.
    for (int r = 1, deOutro = 0, doDia = 0; r <= cds.RecordCount() && (!deOutro || !doDia); ++r) {
        cds.SetRecNo(r);
        const bool noDia = cds.FieldByName("DTVENBOLPAG").AsDateTime() == dia;
        if (noDia ? doDia : deOutro) continue;
        if (!dispatchUserAction(ui_, [&] { tela().MarcaBoleto(); })) {
            ui_.TakeMessage();
            continue;
        }
        ++(noDia ? doDia : deOutro);
    }
    ASSERT_EQ(tela().nedCont.GetNumber(), 2);
    const CashOutActions acoes = ui_.ChartsShown().back().actions;

    acoes.chooseDay(dia);
    EXPECT_FALSE(ui_.HasUntakenMessages());
    EXPECT_EQ(acoes.dayShown(), dia);
    EXPECT_EQ(cds.RecordCount(), quantos);
    for (int r = 1; r <= cds.RecordCount(); ++r) {
        DisplayRecordScope reg(cds, r);
        EXPECT_EQ(cds.FieldByName("DTVENBOLPAG").AsDateTime(), dia);
    }
    EXPECT_EQ(tela().nedCont.GetNumber(), 1);
    confereTotais();

    // The same day again: the whole list, and its totals.
    acoes.chooseDay(dia);
    EXPECT_EQ(acoes.dayShown(), std::nullopt);
    EXPECT_EQ(cds.RecordCount(), todos);
    EXPECT_EQ(tela().nedCont.GetNumber(), 2);
    confereTotais();

    // Another day, then "Mostrar todos"; closing the chart shows all too.
    acoes.chooseDay(dia);
    acoes.showAll();
    EXPECT_EQ(cds.RecordCount(), todos);
    acoes.chooseDay(dia);
    acoes.closed();
    EXPECT_EQ(cds.RecordCount(), todos);
    confereTotais();
    EXPECT_FALSE(ui_.HasUntakenMessages());
}

TEST_F(CashOutChart, ListWideCommandsShowTheWholeListFirst) {
    ClientDataSet& cds = tela().cdsBoletos;
    const int todos = cds.RecordCount();
    const Date dia = diaMaisCheio(abreGrafico().data).first;
    const CashOutActions acoes = ui_.ChartsShown().back().actions;
    acoes.chooseDay(dia);
    ASSERT_LT(cds.RecordCount(), todos);
    // Marking all marks what the clerk sees: every listed boleto.
    ui_.AnswerYes();
    usuario([&] { tela().dbgPadrao.ClickTitle(IndiceCol(tela().dbgPadrao, "IDMARCADO")); });
    EXPECT_EQ(acoes.dayShown(), std::nullopt);
    EXPECT_EQ(cds.RecordCount(), todos);
    confereTotais();
    // A sort keeps the day.
    acoes.chooseDay(dia);
    usuario([&] { tela().dbgPadrao.ClickTitle(IndiceCol(tela().dbgPadrao, "NMRAZSOCFORN")); });
    EXPECT_EQ(acoes.dayShown(), dia);
    // Opening the chart again charts the whole list.
    const CashOut& de_novo = abreGrafico().data;
    EXPECT_EQ(cds.RecordCount(), todos);
    EXPECT_GT(de_novo.days.size(), 1u);
}

TEST_F(CashOutChart, RefusesWhileABoletoIsChangedOrTheDayIsGone) {
    ClientDataSet& cds = tela().cdsBoletos;
    const int todos = cds.RecordCount();
    const CashOutActions acoes = abreGrafico().actions;
    vaiPara("0001", "0000000033");
    usuario([&] { cds.Edit(); });
    ASSERT_EQ(cds.State(), DataSetState::Edit);
    acoes.chooseDay(cds.FieldByName("DTVENBOLPAG").AsDateTime());
    ASSERT_EQ(ui_.Messages().size(), 1u);
    EXPECT_EQ(ui_.Messages().back().text,
              "Confirme ou cancele a alteração do boleto antes de filtrar por vencimento.");
    EXPECT_EQ(cds.State(), DataSetState::Edit);
    usuario([&] { tela().Get<MenuItem>("mnuSaidaCaixa").Click(); });
    EXPECT_EQ(ui_.Messages().back().text,
              "Confirme ou cancele a alteração do boleto antes de ver a saída de caixa.");
    usuario([&] { cds.Cancel(); });

    // A day the list no longer has (the chart was drawn before): said, list untouched.
    const Date semBoletos = Date::today().addDays(kDezAnos + 100);
    acoes.chooseDay(semBoletos);
    EXPECT_EQ(ui_.Messages().back().text,
              "Não há boletos listados com vencimento em " + semBoletos.toString() + ".");
    EXPECT_EQ(cds.RecordCount(), todos);
    EXPECT_EQ(acoes.dayShown(), std::nullopt);
}

TEST_F(CashOutChart, AChartLeftOpenStopsReachingAClosedScreen) {
    const CashOutActions acoes = abreGrafico().actions;
    DestroiHabConta();
    acoes.chooseDay(Date::today());
    acoes.closed();
    EXPECT_EQ(acoes.dayShown(), std::nullopt);
    EXPECT_TRUE(ui_.Messages().empty());
}

TEST(CashOutSeries, DaysAndWindowAndTexts) {
    CashOutBuilder b;
    const Date d1 = Date::fromYmd(2025, 5, 10), d2 = Date::fromYmd(2025, 5, 12);
    b.Add(d2, true, 1234.565);
    b.Add(d1, false, 0.1);
    b.Add(d1, false, 0.2);
    b.Add(d2, false, 1000000);
    b.Add(Date(), true, 5);
    const CashOut c = b.Take();
    ASSERT_EQ(c.days.size(), 3u);
    EXPECT_TRUE(c.days[0].day.isEmpty());
    EXPECT_EQ(c.days[1].otherCents, 30);
    EXPECT_EQ(c.days[1].otherCount, 2);
    EXPECT_EQ(c.days[2].enabledCents, 123457);
    EXPECT_EQ(CashOutTooltip(c.days[2]),
              "Vencimento: 12/05/2025\nHabilitados: 1.234,57\nNão habilitados: 1.000.000,00\n"
              "Total do dia: 1.001.234,57");
    EXPECT_EQ(CashOutDayText(Date()), "sem vencimento");
    // The window opens on the first day from the date given, never past the last full one.
    EXPECT_EQ(c.StartFor(d1, 1), 1u);
    EXPECT_EQ(c.StartFor(d1.addDays(1), 1), 2u);
    EXPECT_EQ(c.StartFor(d2.addDays(1), 1), 2u);
    EXPECT_EQ(c.StartFor(d1, 2), 1u);
    EXPECT_EQ(c.StartFor(d2, 31), 0u);
    EXPECT_EQ(c.Busiest(0, 3), 1u);
    EXPECT_EQ(c.Busiest(2, 31), 2u);
    EXPECT_EQ(CashOutWindowNote(0, 31, 31), "");
    EXPECT_EQ(CashOutWindowNote(31, 31, 7000),
              "Dias 32 a 62 de 7.000 com vencimento: role a barra para ver os demais");
}

}  // namespace
}  // namespace pag
