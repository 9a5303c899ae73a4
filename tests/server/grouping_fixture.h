#pragma once

#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "boleto_change_log.h"
#include "server/dataset_fields.h"
#include "server_fixture.h"
#include "stored_rows.h"

namespace pag::server::testing {

// Boletos with payables, the screen's packets for grouping, and whole-table snapshots to
// show that a refused call stored nothing and that separating restores everything.
class GroupingFixture : public ServerFixture {
protected:
    // A payable of the boleto (branch 0001), identified by its invoice number.
    void addPayable(const std::string& boleto, const std::string& nota, double valor,
                    const std::string& filial = "0001") {
        Statement st = db->prepare(
            "INSERT INTO CNTPAGAR (CDFILIAL, NRLANCTONF, NRSEQVENPAG, NRPARCELAPAG, CDEMPRESA,"
            " CDFORNECED, CDFILIBPAG, NRLANBOLPAG, VRORIGPAG, VRATUAPAG, CDTPCTPAGAR)"
            " SELECT :FP, :NF, '01', '01', CDEMPRESA, CDFORNECED, CDFILIAL, NRLANBOLPAG, :V, :V,"
            " '000001' FROM BOLETPAGAR WHERE CDFILIAL = :F AND NRLANBOLPAG = :L");
        st.bind("FP", Value(filial));
        st.bind("NF", Value(nota));
        st.bind("V", Value(valor));
        st.bind("F", Value("0001"));
        st.bind("L", Value(boleto));
        ASSERT_EQ(st.execute(), 1);
    }

    std::vector<std::string> rows(const std::string& sql) { return storedRows(*db, sql); }
    std::vector<std::string> snapshot() { return boletoSnapshot(*db); }

    // A budget row for the month of `due`.
    void addBudget(Date due, double orcado, double utilizado) {
        Statement st = db->prepare("INSERT INTO ORCAFINA VALUES ('01', :A, :M, :O, :U)");
        st.bind("A", Value(due.year()));
        st.bind("M", Value(due.month()));
        st.bind("O", Value(orcado));
        st.bind("U", Value(utilizado));
        st.execute();
    }

    double utilizado(Date due) {
        const Value v =
            scalar("SELECT VRUTILIZADO FROM ORCAFINA WHERE CDEMPRESA = '01' AND NRANO = " +
                   std::to_string(due.year()) + " AND NRMES = " + std::to_string(due.month()));
        return v.isNull() ? -1 : v.asFloat();
    }

    // The open boletos the screen lists for company "01" (GetBoletos without criteria).
    Packet listed(const CallContext& ctx = context()) {
        std::vector<Value> args = allBoletosFilter();
        CallResult r = call("GetBoletos", args, ctx);
        EXPECT_TRUE(r.ok) << r.message;
        return r.ok ? *r.result.asPacket() : Packet(boletoFields());
    }

    std::vector<std::string> listedKeys() { return column(packetValue(listed()), "NRLANBOLPAG"); }
};

// A change made by another user before a call, and the answer the call then gets.
struct Change {
    std::string sql;
    std::string answer;
};
inline void PrintTo(const Change& c, std::ostream* os) {
    *os << c.sql;
}

// cdsBolAgru as the screen fills it: branch, launch number, value and due date.
inline Value bolAgru(const std::vector<std::tuple<std::string, double, Date>>& boletos) {
    Packet p({{"CDFILIAL", FieldType::Text, 4},
              {"NRLANBOLPAG", FieldType::Text, 10},
              {"VRBOLPAG", FieldType::Float, 0},
              {"DTVENBOLPAG", FieldType::Date, 0}});
    for (const auto& [lanc, valor, venc] : boletos)
        p.addRow({"0001", lanc, valor, venc});
    return packetValue(std::move(p));
}

// A change log of cdsBoletos holding the new boleto as the payment-data page posts it:
// the given fields, -1 and a single blank in the other number and text fields.
inline Packet newBoletoDelta(const std::map<std::string, Value>& values) {
    Packet p(boletoFields());
    p.isDelta = true;
    std::vector<Value> row;
    for (const PacketField& f : p.fields) {
        auto it = values.find(f.name);
        if (it != values.end())
            row.push_back(it->second);
        else if (f.type == FieldType::Float)
            row.push_back(-1.0);
        else if (f.type == FieldType::Text)
            row.push_back(" ");
        else
            row.push_back(Value());
    }
    p.changes.push_back({ChangeOp::Insert, p.layout.encode(row), {}});
    return p;
}

// Adds to a change log the mark of a listed row (original as read, IDMARCADO "S").
inline void addMark(Packet& delta, const Packet& list, const std::string& lancamento) {
    const std::vector<Value> row = listedRow(list, lancamento);
    if (!row.empty()) delta.changes.push_back(modifiedRow(row, {{"IDMARCADO", "S"}}));
}

}  // namespace pag::server::testing
