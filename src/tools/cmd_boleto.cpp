// pag12000 boleto check CODE: tells whether a pasted barcode or digitable line is valid.
#include <cstdio>
#include <string>
#include <string_view>

#include "contracts/lib02800.h"
#include "tools/commands.h"

namespace pag::tools {

int runBoleto(int argc, char** argv) {
    if (argc < 2 || std::string_view(argv[0]) != "check") {
        std::fprintf(stderr,
                     "uso: pag12000 boleto check CODIGO\n"
                     "  CODIGO: código de barras (44 dígitos) ou linha digitável (47 ou 48\n"
                     "  dígitos), com ou sem espaços, pontos e hífens\n");
        return 2;
    }
    // A line pasted without quotes arrives split at its spaces.
    std::string code;
    for (int i = 1; i < argc; ++i)
        code += argv[i];
    BarcodeInfo info = analyseBarcode(stripSeparators(code));
    std::printf("%s\n", barcodeInfoJson(info).c_str());
    return info.valid ? 0 : 1;
}

}  // namespace pag::tools
