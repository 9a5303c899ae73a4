#include "server/seed/demo_seed.h"

#include <stdexcept>

#include "server/seed/boleto_seeder.h"

namespace pag::server {

namespace {
constexpr int kDemoBoletos = 320;

void requireEmpty(Database& db) {
    Statement st = db.prepare("SELECT COUNT(*) FROM EMPRESA");
    st.step();
    if (st.column(0).asInteger() != 0)
        throw std::runtime_error("O banco de dados já tem dados: a carga exige um banco vazio.");
}

void seedWith(Database& db, int boletos, Date today) {
    if (boletos < 1) throw std::invalid_argument("Quantidade de boletos deve ser maior que zero.");
    requireEmpty(db);
    Transaction tx(db, TransactionMode::Immediate);
    seedReference(db, today);
    BoletoSeeder seeder(db, today);
    seeder.generate(boletos);
    seeder.finish();
    tx.commit();
}
}  // namespace

void seedDemo(Database& db, Date today) {
    seedWith(db, kDemoBoletos, today);
}

void seedScale(Database& db, int boletos, Date today) {
    seedWith(db, boletos, today);
}

}  // namespace pag::server
