// Reading a server result: the failure path every screen relies on, and multi-part payloads.
#include <gtest/gtest.h>

#include <memory>

#include "contracts/client/check_result.h"
#include "platform/ui/abort.h"
#include "testing/scripted_user_interface.h"

namespace pag {
namespace {

PacketPtr packet(const std::string& name) {
    auto p = std::make_shared<Packet>(std::vector<PacketField>{{name, FieldType::Text, 4}});
    p->addRow({"0001"});
    return p;
}

TEST(CheckResultServ, FailureShowsTheServerMessageAndAbandonsTheOperation) {
    ScriptedUserInterface ui;
    bool afterwards = false;
    auto caller = [&] {
        CheckResultServ(ui, CallResult::failure("Boleto já baixado por outro usuário."), true, 0);
        afterwards = true;
    };
    EXPECT_THROW(caller(), SilentAbort);
    EXPECT_FALSE(afterwards);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].kind, MessageKind::Error);
    EXPECT_EQ(ui.Messages()[0].text, "Boleto já baixado por outro usuário.");
}

TEST(CheckResultServ, FailureWithoutMessageStillTellsTheUserSomething) {
    ScriptedUserInterface ui;
    EXPECT_THROW(CheckResultServ(ui, CallResult::failure("")), SilentAbort);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_NE(ui.Messages()[0].text.find("sem informar o motivo"), std::string::npos);
}

TEST(CheckResultServ, WithoutShowTheFailureGoesToTheCaller) {
    ScriptedUserInterface ui;
    try {
        CheckResultServ(ui, CallResult::failure("VRBOL_DIF"), false);
        FAIL() << "retornou numa falha";
    } catch (const ServerCallError& e) {
        EXPECT_STREQ(e.what(), "VRBOL_DIF");
    }
    EXPECT_TRUE(ui.Messages().empty());
}

TEST(CheckResultServ, ReturnsThePayloadOrOneOfItsParts) {
    ScriptedUserInterface ui;
    Value parts(ValueArray{Value(packet("A")), Value(packet("B")), Value(12.5)});
    CallResult ok = CallResult::success(parts);

    EXPECT_EQ(CheckResultServ(ui, ok), parts);
    EXPECT_EQ(CheckResultServ(ui, ok, true, 2), Value(12.5));
    EXPECT_EQ(PayloadPacket(parts, 1)->fields[0].name, "B");
    EXPECT_EQ(
        PayloadPacket(CheckResultServ(ui, CallResult::success(Value(packet("C")))))->fields[0].name,
        "C");
    EXPECT_TRUE(ui.Messages().empty());
}

TEST(CheckResultServ, WrongPayloadShapeIsNamed) {
    Value parts(ValueArray{Value(packet("A")), Value("texto")});
    auto message = [](auto&& f) {
        try {
            f();
        } catch (const ServerCallError& e) {
            return std::string(e.what());
        }
        return std::string("nenhum erro");
    };
    EXPECT_EQ(message([&] { PayloadPart(parts, 2); }),
              "Resposta do servidor de aplicação em formato inesperado: esperava uma lista com "
              "pelo menos 3 elemento(s), recebeu uma lista de 2 elemento(s).");
    EXPECT_NE(message([&] { PayloadPacket(parts, 1); }).find("pacote de dados no elemento 1"),
              std::string::npos);
    EXPECT_NE(message([&] { PayloadPacket(Value()); }).find("esperava um pacote de dados"),
              std::string::npos);
    EXPECT_NE(message([&] { PayloadPart(Value(3), 0); }).find("uma lista"), std::string::npos);
}

TEST(DirectResult, FailedCallIsNeverReadAsABlankSuccess) {
    ScriptedUserInterface ui;
    EXPECT_EQ(DirectResult(ui, CallResult::success(Value("TRUE"))), Value("TRUE"));
    EXPECT_THROW(DirectResult(ui, CallResult::failure("Não foi possível conectar")), SilentAbort);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, "Não foi possível conectar");

    EXPECT_TRUE(IsOkText(Value("OK")));
    EXPECT_TRUE(IsOkText(Value(" ok ")));
    EXPECT_TRUE(IsOkText(Value("")));
    EXPECT_TRUE(IsOkText(Value()));
    EXPECT_FALSE(IsOkText(Value("1BOL_BAIXADO")));
    EXPECT_FALSE(IsOkText(Value("OKAY")));
    EXPECT_FALSE(IsOkText(Value(1)));
}

}  // namespace
}  // namespace pag
