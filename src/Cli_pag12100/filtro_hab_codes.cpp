// How the filter dialog encodes its choices for the server's GetBoletos.
#include "Cli_pag12100/filtro_hab_codes.h"

namespace pag {

std::string CodificaBoleto(int itemIndex) {
    switch (itemIndex) {
        case 0:
            return "S";
        case 1:
            return "N";
        default:
            return "";
    }
}

std::string CodificaStatLibNF(int itemIndex) {
    switch (itemIndex) {
        case 0:
            return "L";
        case 1:
            return "B";
        default:
            return "";
    }
}

std::string CodificaSituacao(bool naoEnviado, bool retornoErro, bool semRetorno, bool retornoOk) {
    std::string s = naoEnviado ? "_00" : " ";
    if (retornoErro) s += "_01";
    if (semRetorno) s += "_10";
    if (retornoOk) s += "_20";
    return s;
}

std::string CodificaPessoa(bool todosFornecedores, int itemIndex) {
    if (!todosFornecedores) return "T";
    switch (itemIndex) {
        case 1:
            return "J";
        case 2:
            return "F";
        case 3:
            return "_O_I";
        default:
            return "T";
    }
}

std::string TiposPessoaFornecedor(int itemIndex) {
    std::string tipos = CodificaPessoa(true, itemIndex);
    return tipos == "T" ? "" : tipos;
}

std::string JuntaCodigos(const std::vector<std::string>& codigos) {
    std::string lista;
    for (const std::string& c : codigos) {
        if (!lista.empty()) lista += ',';
        lista += c;
    }
    return lista;
}

}  // namespace pag
