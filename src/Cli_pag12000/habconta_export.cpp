// The boleto list as it stands, for whoever approves the payment: exported to CSV (the
// grid's visible columns in their order, the rows in the grid's order), and printed or
// saved as PDF (the marked boletos, or all listed when none is marked, totalled per due
// date). The file names and the printer come from the user through the user interface.
#include <algorithm>

#include "Cli_pag12000/habconta.h"
#include "Cli_pag12000/habconta_internal.h"
#include "Cli_pag12100/filtro_hab.h"
#include "contracts/client/messages.h"
#include "platform/export/csv_writer.h"
#include "platform/format.h"

namespace pag {

namespace {

constexpr long kPassoProgresso = 10000;

// Columns whose "S"/"N" the grid shows as pictures: the file says "Sim"/"Não".
bool colunaSimNao(const std::string& campo) {
    return umDe(campo, {kMarca, "IDHABIBPAG", "IDBPAGREAL"});
}

int casasDecimais(const Field& f) {
    if (f.DataType() == FieldType::Integer) return 0;
    const std::string& fmt = f.DisplayFormat();
    const size_t ponto = fmt.find('.');
    return ponto == std::string::npos ? 2 : static_cast<int>(fmt.size() - ponto - 1);
}

CsvCell celulaCsv(Field& f) {
    const FieldType tipo = f.DataType();
    if (colunaSimNao(f.FieldName())) return CsvCell::Text(f.AsString() == "S" ? "Sim" : "Não");
    if (tipo == FieldType::Float || tipo == FieldType::Integer)
        return CsvCell::Number(f.IsNull() ? std::string()
                                          : CsvNumber(f.AsFloat(), casasDecimais(f)));
    if (tipo == FieldType::Date)
        return CsvCell::Day(f.IsNull() ? std::string() : f.AsDateTime().toString());
    return CsvCell::Text(f.DisplayText());
}

std::string tituloCsv(const Grid& g, int coluna) {
    // The mark column's title is a glyph of a symbol font, no text.
    return g.Columns()[static_cast<size_t>(coluna)].fieldName == kMarca ? "Marcado"
                                                                        : g.ColumnTitle(coluna);
}

std::string periodo(const char* nome, Date de, Date ate) {
    if (de.isEmpty() && ate.isEmpty()) return {};
    std::string t = nome;
    if (!de.isEmpty()) t += " de " + de.toString();
    if (!ate.isEmpty()) t += " até " + ate.toString();
    return t;
}

std::string lista(const char* nome, bool todos, const std::string& codigos) {
    return todos || codigos.empty() ? std::string() : std::string(nome) + ": " + codigos;
}

}  // namespace

void TfrmHabConta::ligaEventosExporta() {
    Get<MenuItem>("mnuExportaCsv").OnClick = [this] { mnuExportaCsvClick(); };
    Get<MenuItem>("mnuImprimeLista").OnClick = [this] { mnuImprimeListaClick(); };
    Get<MenuItem>("mnuSalvaPdf").OnClick = [this] { mnuSalvaPdfClick(); };
}

void TfrmHabConta::verificaListaPronta(const char* acao) {
    if (editando(cdsBoletos))
        MensErro(Ui(),
                 std::string("Confirme ou cancele a alteração do boleto antes de ") + acao + ".");
    if (!cdsBoletos.Active() || cdsBoletos.IsEmpty()) MensErro(Ui(), "Não há boletos listados.");
}

long TfrmHabConta::ExportaListaCsv(const std::string& arquivo,
                                   const std::function<void(long)>& progresso) {
    Grid& g = dbgPadrao;
    std::vector<Field*> campos;
    std::vector<CsvCell> linha;
    for (int c : g.ShownColumns()) {
        const GridColumn& col = g.Columns()[static_cast<size_t>(c)];
        campos.push_back(&cdsBoletos.FieldByName(col.fieldName));
        linha.push_back(CsvCell::Text(tituloCsv(g, c)));
    }
    CsvWriter csv(arquivo);
    csv.WriteRow(linha);
    const long total = cdsBoletos.Active() ? cdsBoletos.RecordCount() : 0;
    for (long r = 1; r <= total; ++r) {
        DisplayRecordScope registro(cdsBoletos, static_cast<int>(r));
        for (size_t i = 0; i < campos.size(); ++i)
            linha[i] = celulaCsv(*campos[i]);
        csv.WriteRow(linha);
        if (progresso && r % kPassoProgresso == 0) progresso(r);
    }
    csv.Commit();
    return total;
}

std::string TfrmHabConta::ResumoFiltro() const {
    const std::string partes[] = {
        periodo("Vencimento", Filtro.DtVencIni, Filtro.DtVencFin),
        periodo("Emissão", Filtro.DtEmissIni, Filtro.DtEmissFin),
        lista("Fornecedores", Filtro.boTodosForn, Filtro.stForneced),
        lista("Grupos de fornecedores", Filtro.boTodosGrForn, Filtro.stGrForn),
        lista("Filiais de lançamento", Filtro.boTodosFiliLanc, Filtro.stFiliLanc),
        lista("Tipos de baixa", Filtro.boTodosFormPag, Filtro.stTipoPag),
        Filtro.inBoleto == 0   ? "Somente habilitados"
        : Filtro.inBoleto == 1 ? "Somente não habilitados"
                               : ""};
    std::string texto;
    for (const std::string& p : partes)
        if (!p.empty()) texto += (texto.empty() ? "" : "; ") + p;
    return "Filtro: " + (texto.empty() ? std::string("todos os boletos") : texto);
}

PrintableReport TfrmHabConta::RelatorioLista() {
    PrintableReport rel;
    rel.title = "Boletos para aprovação de pagamento";
    rel.columns = {{"Fornecedor", 27, false},    {"CNPJ/CPF", 19, false},
                   {"Vencimento", 12, false},    {"Banco", 7, false},
                   {"Tipo de Baixa", 21, false}, {"Valor", 12, true}};
    rel.groupTotalLabel = "Total do vencimento";
    struct Linha {
        int32_t vencimento;
        ReportRow row;
    };
    std::vector<Linha> linhas;
    const int total = cdsBoletos.Active() ? cdsBoletos.RecordCount() : 0;
    Field& marca = cdsBoletos.FieldByName(kMarca);
    Field& venc = cdsBoletos.FieldByName("DTVENBOLPAG");
    Field& valor = cdsBoletos.FieldByName("VRFINALBPAG");
    Field* campos[] = {&cdsBoletos.FieldByName("NMRAZSOCFORN"),
                       &cdsBoletos.FieldByName("NRINSJURFORN"), &venc,
                       &cdsBoletos.FieldByName("CDBANCO"), &cdsBoletos.FieldByName("NMTPBAIXAPAG")};
    auto junta = [&](bool soMarcados) {
        for (int r = 1; r <= total; ++r) {
            DisplayRecordScope registro(cdsBoletos, r);
            if (soMarcados && marca.AsString() != "S") continue;
            Linha l{venc.IsNull() ? 0 : venc.AsDateTime().serial(), {}};
            for (Field* f : campos)
                l.row.cells.push_back(f->DisplayText());
            l.row.cells.push_back(formatFloat("#,##0.00", valor.AsFloat()));
            l.row.group = venc.IsNull() ? "sem vencimento" : venc.AsDateTime().toString();
            l.row.cents = roundToCents(valor.AsFloat());
            linhas.push_back(std::move(l));
        }
    };
    junta(true);
    const bool marcados = !linhas.empty();
    if (!marcados) junta(false);
    // Totals go per due date: the rows keep the grid's order within each date.
    std::stable_sort(linhas.begin(), linhas.end(),
                     [](const Linha& a, const Linha& b) { return a.vencimento < b.vencimento; });
    rel.rows.reserve(linhas.size());
    for (Linha& l : linhas)
        rel.rows.push_back(std::move(l.row));
    const Date processamento =
        Suite().login.ProcessingDate.isEmpty() ? Date::today() : Suite().login.ProcessingDate;
    rel.header = {"Empresa: " + medEmpresa.Text() + " - " + edtNmEmpresa.Text(), ResumoFiltro(),
                  "Data de processamento: " + processamento.toString(),
                  marcados ? "Boletos marcados: " + std::to_string(rel.rows.size())
                           : "Nenhum boleto marcado: todos os " + std::to_string(rel.rows.size()) +
                                 " boletos listados"};
    return rel;
}

void TfrmHabConta::mnuExportaCsvClick() {
    verificaListaPronta("exportar a lista");
    const auto arquivo =
        Ui().chooseSaveFile("Exportar lista de boletos", "Arquivos CSV (*.csv)", "boletos.csv");
    if (!arquivo) return;
    long n = 0;
    try {
        BusyScope avi(Ui(), kAviProcessando);
        n = ExportaListaCsv(*arquivo);
    } catch (const std::runtime_error& e) {
        MensErro(Ui(), e.what());
    }
    Ui().showStatus(std::to_string(n) + " boletos exportados para " + *arquivo);
}

void TfrmHabConta::imprimeLista(ReportDestination destino) {
    verificaListaPronta("exportar a lista");
    std::string arquivo;
    if (destino == ReportDestination::PdfFile) {
        const auto escolhido = Ui().chooseSaveFile("Salvar lista de boletos em PDF",
                                                   "Arquivos PDF (*.pdf)", "boletos.pdf");
        if (!escolhido) return;
        arquivo = *escolhido;
    }
    try {
        PrintableReport rel;
        {
            BusyScope avi(Ui(), kAviProcessando);
            rel = RelatorioLista();
        }
        Ui().printReport(rel, destino, arquivo);
    } catch (const std::runtime_error& e) {
        MensErro(Ui(), e.what());
    }
}

void TfrmHabConta::mnuImprimeListaClick() {
    imprimeLista(ReportDestination::Printer);
}

void TfrmHabConta::mnuSalvaPdfClick() {
    imprimeLista(ReportDestination::PdfFile);
}

}  // namespace pag
