// The tax guide dialog's pages and edits with their names, labels, masks and formats,
// its message table and the wiring of its events.
#include "Cli_pag12003/cadguiaimp.h"
#include "contracts/consiste.h"

namespace pag {

namespace {

// The size of the dialog before a kind chooses its own.
constexpr int kLargura = 398;
constexpr int kAltura = 153;
// The help topic of the dialog in the module's help file.
constexpr int kAjuda = 11912003;
// Values: 9 integer digits and cents, shown without thousands separator.
constexpr int kDigitosValor = 9;
constexpr int kDecimaisValor = 2;
constexpr const char* kFormatoValor = "0.00";

Page& pagina(TfrmCadGuiaImp& f, const char* name, const char* caption) {
    Page& p = f.Add<Page>(name, &f.ntbCadGuiaImp, caption);
    // A notebook: the kind chooses the page, there is no tab to click.
    p.SetTabVisible(false);
    return p;
}

void rotulo(TfrmCadGuiaImp& f, Page& p, const char* editName, const char* caption) {
    f.Add<Label>(std::string("lbl") + (editName + 3), &p).SetCaption(caption);
}

// A digits-only code or number edit of `tamanho` digits; `obrigatorio` paints it with
// the colour of the values that must be filled in.
MaskEdit& numero(TfrmCadGuiaImp& f, Page& p, const char* name, const char* caption, int tamanho,
                 bool obrigatorio) {
    rotulo(f, p, name, caption);
    MaskEdit& e =
        f.Add<MaskEdit>(name, &p, std::string(static_cast<size_t>(tamanho), '9') + ";0; ");
    e.SetMaxLength(tamanho);
    if (obrigatorio) e.SetColour(kCorObrigatorio);
    return e;
}

MaskEdit& codigo(TfrmCadGuiaImp& f, Page& p, const char* name, const char* caption) {
    return numero(f, p, name, caption, 10, true);
}

// The period of a guide; `mes` when it is a month (competence or reference), typed
// mm/aaaa.
DateEdit& periodo(TfrmCadGuiaImp& f, Page& p, const char* name, const char* caption, bool mes) {
    rotulo(f, p, name, caption);
    DateEdit& d = f.Add<DateEdit>(name, &p);
    d.SetMonthYear(mes);
    d.SetColour(kCorObrigatorio);
    return d;
}

NumberEdit& valor(TfrmCadGuiaImp& f, Page& p, const char* name, const char* caption,
                  bool obrigatorio) {
    rotulo(f, p, name, caption);
    NumberEdit& e = f.Add<NumberEdit>(name, &p, kFormatoValor);
    if (obrigatorio) e.SetColour(kCorObrigatorio);
    guardaValor(e, kDigitosValor, kDecimaisValor);
    return e;
}

}  // namespace

TfrmCadGuiaImp::TfrmCadGuiaImp()
    : TfrmRotiGeral("frmCadGuiaImp", "Cadastro de Guia de Tributo "),
      lblCodTela(Add<Label>("lblCodTela", &panMenu)),
      ntbCadGuiaImp(Add<PageControl>("ntbCadGuiaImp", &grbDadosRel)),
      medCdReceitaDarf(
          codigo(*this, pagina(*this, "tshDarf", "Darf"), "medCdReceitaDarf", "Código Receita")),
      depApuracDarf(
          periodo(*this, Get<Page>("tshDarf"), "depApuracDarf", "Período Apuração", false)),
      medNrRefDarf(
          numero(*this, Get<Page>("tshDarf"), "medNrRefDarf", "Número Referência", 20, false)),
      nedVrRecBrutDarf(
          valor(*this, Get<Page>("tshDarf"), "nedVrRecBrutDarf", "Vr. Receita Bruta", true)),
      nedVrPercentDarf(valor(*this, Get<Page>("tshDarf"), "nedVrPercentDarf", "Percentual", true)),
      medCdPagGPS(codigo(*this, pagina(*this, "tshGPS", "GPS"), "medCdPagGPS", "Código Pagamento")),
      depCompetGPS(periodo(*this, Get<Page>("tshGPS"), "depCompetGPS", "Data Competência", true)),
      nedVrOutrEnt(
          valor(*this, Get<Page>("tshGPS"), "nedVrOutrEnt", "Valor Outras Entidades", false)),
      medCdReceitaFGTS(
          codigo(*this, pagina(*this, "tshFGTS", "FGTS"), "medCdReceitaFGTS", "Código Receita")),
      medIdFGTS(numero(*this, Get<Page>("tshFGTS"), "medIdFGTS", "Identificador", 16, false)),
      medLacreConFGTS(numero(*this, Get<Page>("tshFGTS"), "medLacreConFGTS",
                             "Lacre Conectividade Social", 9, false)),
      medDigConFGTS(numero(*this, Get<Page>("tshFGTS"), "medDigConFGTS",
                           "Digíto Conectividade Social", 2, false)),
      medCdReceDS(codigo(*this, pagina(*this, "tshDarfSimples", "DARF SIMPLES"), "medCdReceDS",
                         "Código Receita")),
      depApuracDS(
          periodo(*this, Get<Page>("tshDarfSimples"), "depApuracDS", "Período Apuração", true)),
      nedVrRecBrutDS(
          valor(*this, Get<Page>("tshDarfSimples"), "nedVrRecBrutDS", "Vr. Receita Bruta", true)),
      nedVrPercent(valor(*this, Get<Page>("tshDarfSimples"), "nedVrPercent", "Percentual", true)),
      medNrRefDS(
          numero(*this, Get<Page>("tshDarfSimples"), "medNrRefDS", "Número Referência", 20, false)),
      medCdReceDARJ(
          codigo(*this, pagina(*this, "tshDARJ", "DARJ"), "medCdReceDARJ", "Código Receita")),
      depRefDARJ(periodo(*this, Get<Page>("tshDARJ"), "depRefDARJ", "Período Referência", true)),
      medCdReceGARE(
          codigo(*this, pagina(*this, "tshGARE", "GARE"), "medCdReceGARE", "Código Receita")),
      depApuGARE(periodo(*this, Get<Page>("tshGARE"), "depApuGARE", "Período Apuração", true)),
      nedVrReceBrutGARE(
          valor(*this, Get<Page>("tshGARE"), "nedVrReceBrutGARE", "Vr. Receita Bruta", true)),
      medDividaAtvGARE(
          numero(*this, Get<Page>("tshGARE"), "medDividaAtvGARE", "Divida Ativa", 13, false)),
      medNotificGARE(numero(*this, Get<Page>("tshGARE"), "medNotificGARE", "Nº Parc./Notificação",
                            13, false)) {
    SetSize(kLargura, kAltura);
    SetHelpContext(kAjuda);
    SetHelpFile("paghelp.hlp");
    lblCodTela.SetCaption("PAG12003");
    ntbCadGuiaImp.SetActivePageIndex(0);
    carregaMensagens();
    ligaEventos();
}

TfrmCadGuiaImp::~TfrmCadGuiaImp() {
    DestroyControls();
}

void TfrmCadGuiaImp::carregaMensagens() {
    msgPadrao.AddLines({
        "RECEGUIA_NINF|Código da receita deve ser informado.",
        "DTAPURAC_NINF|Data de apuração deve ser informada.",
        "CDPAGGPS_NINF|Código de pagamento deve ser informado.",
        "DTCOMPETGPS_NINF|Data de competência deve ser informada.",
        "VrReceBrut_NINF|Valor da receita bruta acumulada deve ser informado.",
        "VrPercent_NINF|Percentual deve ser informado.",
        "VROUTRENT>VRFINBOL|Valor de outras entidades deve ser menor que o valor atual do "
        "boleto.",
        "VRRECEBRUT>VRFINBOL|Valor da receita bruta acumulada deve ser menor que o valor atual "
        "do boleto.",
        "MULTI_RECEBRUT_PERCENT>VRFINBOL|O resultado da multiplicação do valor da receita bruta "
        "acumulada sobre o percentual deve ser menor que o valor atual do boleto.",
        "IDFGTS_NINF|Identificador deve ser informado.",
        "LACREFGTS_NINF|Lacre de conectividade social deve ser informado.",
        "DIGLACREFGTS_NINF|Digíto de conectividade social deve ser informado.",
        // The revenue and payment codes of the guides have four digits; the zeros the
        // edit puts on the left do not count.
        "RECEGUIA_LARG|Código da receita deve ter no máximo 4 dígitos.",
        "CDPAGGPS_LARG|Código de pagamento deve ter no máximo 4 dígitos.",
        "PERCENT>100|Percentual não pode ser maior que 100.",
    });
}

void TfrmCadGuiaImp::ligaEventos() {
    // Leaving a code or number brings it to its width.
    const std::pair<MaskEdit*, int> larguras[] = {
        {&medCdReceitaDarf, 10}, {&medCdPagGPS, 10},   {&medCdReceitaFGTS, 10},
        {&medCdReceDS, 10},      {&medCdReceDARJ, 10}, {&medCdReceGARE, 10},
        {&medNrRefDarf, 20},     {&medNrRefDS, 20},    {&medIdFGTS, 16},
        {&medLacreConFGTS, 9},   {&medDigConFGTS, 2},  {&medDividaAtvGARE, 13},
        {&medNotificGARE, 13}};
    for (auto [edit, largura] : larguras)
        edit->OnExit = [edit, largura] { edit->SetText(Ajusta(edit->Text(), largura)); };
    // Leaving a date checks it is one.
    for (DateEdit* d : {&depApuracDarf, &depCompetGPS, &depApuracDS, &depRefDARJ, &depApuGARE})
        d->OnExit = [d] { d->CheckValidDate(); };
}

}  // namespace pag
