// The arrangement of the boleto screen and the filter dialog, row by row.
#include "gui/screen_layouts.h"

#include <map>

namespace pag::gui {

namespace {

using Rows = std::vector<std::vector<std::string>>;

const std::map<std::string, ContainerLayout, std::less<>>& layouts() {
    static const auto* all = new std::map<std::string, ContainerLayout, std::less<>>{
        // ---- boleto screen
        {"frmHabConta.panFiltro",
         {.rows = {{"lblEmpresa", "medEmpresa", "btpEmpresa", "edtNmEmpresa"}}}},
        {"frmHabConta.tshFolhaDados",
         {.left = {"scbFolhaDados", "Panel3"}, .right = {"panContas"}}},
        {"frmHabConta.Panel3",
         {.rows = {{"lblInscForn", "dbeInscForn", "lblNrBol", "dbeNrBol"},
                   {"lblTotal", "nedTotal", "nedCont", "lblQtdBoletos"}}}},
        {"frmHabConta.panContas",
         {.rows = {{"dbgConta"},
                   {"lblFiliLanc", "dbeFiliLanc", "dbeSeqConta"},
                   {"lblVrOrig", "dbeVrOrig"},
                   {"lblAjustes", "dbeAjustes"}}}},
        {"frmHabConta.tshDadosPag",
         {.rows = {{"lblPeMulta", "dbePeMulta", "lblVrMulta", "dbeVrMulta"},
                   {"lblPeMora", "dbePeMora", "lblVrMora", "dbeVrMora"},
                   {"lblTpBaixa", "dbeCdTpBaixa", "btnTipoBaixa", "DBEdit2"},
                   {"lblContCorr", "dbeReduCont", "btnContCorr", "DBEdit14", "DBEdit10", "DBEdit13",
                    "DBEdit11"},
                   {"lblFavorecido", "dbeCdBancBolP", "dbeCdAgenBolP", "dbeCdCCorForn",
                    "btnContCFor"},
                   {"lblCdBarra", "edtCdBarra"},
                   {"lblReNumerica", "dbeLinhBarPag"},
                   {"lblVencimento", "dbdVencimento", "edtDiaSemana"},
                   {"grbPix"}}}},
        {"frmHabConta.grbPix",
         {.rows = {{"LblQrCode", "dbeChaveQrPix"},
                   {"lblChavePix", "dbcIdChavePix", "dbeChavePix", "btnPesqChavePix"}}}},
        {"frmHabConta.grbProrroga",
         {.rows = {{"lblVenc", "depVencimento", "edtNmSemana"},
                   {"lblMotProrr", "edtCdMotiPro", "sbtMotProrr", "edtNmMotiPro"}}}},
        // ---- deductions dialog: supplier and adjustment type on top, the list, the totals
        {"frmAbatimento.grbDadosRel",
         {.rows = {{"panFornecedor"},
                   {"ntbConsulta"},
                   {"lblTotal", "nedAbatimento", "lblVrADesc", "nedVrADesc"}}}},
        {"frmAbatimento.panFornecedor",
         {.rows = {{"lblFornecedor", "dbeInscFor", "dbeNmFornecedor"},
                   {"lblTipoAjuste", "medAjDescPag", "btnDesconto", "edtAjDescPag"}}}},
        // ---- automatic enabling dialog: one value a row, its description beside it
        {"frmCadAutoCont.grbDadosRel",
         {.rows = {{"lblVencimento", "depVencimento"},
                   {"lblTpProrroga", "medTpProrroga", "btpMotivoPror", "edtNmProrroga"},
                   {"lblReduCont", "medReduCont", "btnContCorr", "edtCdBanco", "edtCdAgencia",
                    "edtCdContCorr", "edtDsContCorr"}}}},
        {"frmCadAutoCont.panMenu", {.rows = {{"panBotoes", "lblCodTela"}}}},
        // ---- tax guide dialog: one page per guide kind, a value a row after its label
        {"frmCadGuiaImp.tshDarf",
         {.rows = {{"lblCdReceitaDarf", "medCdReceitaDarf"},
                   {"lblApuracDarf", "depApuracDarf"},
                   {"lblNrRefDarf", "medNrRefDarf"},
                   {"lblVrRecBrutDarf", "nedVrRecBrutDarf"},
                   {"lblVrPercentDarf", "nedVrPercentDarf"}}}},
        {"frmCadGuiaImp.tshGPS",
         {.rows = {{"lblCdPagGPS", "medCdPagGPS"},
                   {"lblCompetGPS", "depCompetGPS"},
                   {"lblVrOutrEnt", "nedVrOutrEnt"}}}},
        {"frmCadGuiaImp.tshFGTS",
         {.rows = {{"lblCdReceitaFGTS", "medCdReceitaFGTS"},
                   {"lblIdFGTS", "medIdFGTS"},
                   {"lblLacreConFGTS", "medLacreConFGTS"},
                   {"lblDigConFGTS", "medDigConFGTS"}}}},
        {"frmCadGuiaImp.tshDarfSimples",
         {.rows = {{"lblCdReceDS", "medCdReceDS"},
                   {"lblApuracDS", "depApuracDS"},
                   {"lblVrRecBrutDS", "nedVrRecBrutDS"},
                   {"lblVrPercent", "nedVrPercent"},
                   {"lblNrRefDS", "medNrRefDS"}}}},
        {"frmCadGuiaImp.tshDARJ",
         {.rows = {{"lblCdReceDARJ", "medCdReceDARJ"}, {"lblRefDARJ", "depRefDARJ"}}}},
        {"frmCadGuiaImp.tshGARE",
         {.rows = {{"lblCdReceGARE", "medCdReceGARE"},
                   {"lblApuGARE", "depApuGARE"},
                   {"lblVrReceBrutGARE", "nedVrReceBrutGARE"},
                   {"lblDividaAtvGARE", "medDividaAtvGARE"},
                   {"lblNotificGARE", "medNotificGARE"}}}},
        {"frmCadGuiaImp.panMenu", {.rows = {{"panBotoes", "lblCodTela"}}}},
        // ---- filter dialog: the two data groups side by side, the budget under them
        {"frmFiltroHab.grbFiltroPadrao",
         {.rows = {{"grbDadosDoc", "grbDadosBoleto"}, {"grbOrcamento"}}}},
        {"frmFiltroHab.grbDadosDoc",
         {.rows = {{"grbGrForn", "grbFornecedor"},
                   {"rdgPessoa"},
                   {"grbNumero"},
                   {"grbFiliLanc", "grbFiliOrig"},
                   {"rgpStatLibNF"},
                   {"grbEmissao"}}}},
        {"frmFiltroHab.grbDadosBoleto",
         {.rows = {{"grbVencimento"},
                   {"grbTipoBaixa", "grbBancBenef"},
                   {"rgpBoleto"},
                   {"grbValorLiq"},
                   {"grbTipoConta"},
                   {"rdgSituacao"},
                   {"grbNrRemessa", "grbNrRetorno"}}}},
    };
    return *all;
}

}  // namespace

const ContainerLayout* containerLayout(std::string_view form, std::string_view container) {
    std::string key(form);
    key += '.';
    key += container;
    auto it = layouts().find(key);
    return it == layouts().end() ? nullptr : &it->second;
}

std::vector<std::string> leadingColumns(std::string_view form, std::string_view grid) {
    if (form == "frmHabConta" && grid == "dbgPadrao")
        return {"IDMARCADO",    "IDBPAGREAL", "DTVENBOLPAG",
                "NMRAZSOCFORN", "IDHABIBPAG", "VRFINALBPAG"};
    return {};
}

bool belowPages(std::string_view /*form*/, std::string_view control) {
    // The base screen's navigator bar closes every maintenance screen.
    return control == "panNavigator";
}

}  // namespace pag::gui
