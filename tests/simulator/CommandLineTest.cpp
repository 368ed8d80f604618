// kt41-sim's options and fault descriptions.
#include "simulator/CommandLine.h"

#include <gtest/gtest.h>

namespace kt41::sim {
namespace {

TEST(SimCommandLine, FaultDescriptions) {
    std::string error;
    const auto late =
        ParseFault("late-reply,function=Read_ArxRecord_KT41,skip=2,count=0,delay=300", &error);
    ASSERT_TRUE(late) << error;
    EXPECT_EQ(late->Kind, FaultKind::LateReply);
    EXPECT_EQ(late->Function, "Read_ArxRecord_KT41");
    EXPECT_EQ(late->Skip, 2);
    EXPECT_EQ(late->Count, 0);
    EXPECT_EQ(late->Delay.count(), 300);
    const auto drip = ParseFault("drip,gap=40,count=0", &error);
    ASSERT_TRUE(drip) << error;
    EXPECT_EQ(drip->Gap.count(), 40);
    const auto plain = ParseFault("exception,code=2", &error);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->ExceptionCode, 2);
    EXPECT_TRUE(plain->Function.empty());
    EXPECT_EQ(plain->Count, 1);
    for (FaultKind kind : AllFaultKinds()) {
        EXPECT_EQ(ParseFault(FaultKindName(kind), &error)->Kind, kind);
    }
    for (const char* bad : {"", "slow", "no-answer,count", "no-answer,count=-1",
                            "exception,code=300", "bad-crc,colour=red"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(ParseFault(bad, &error));
        EXPECT_FALSE(error.empty());
    }
}

TEST(SimCommandLine, Options) {
    std::string error;
    const auto cl =
        ParseSimCommandLine({"--tcp", "1502", "--address", "7", "--any-address", "--serial", "321",
                             "--baud", "19200", "--hold", "--also", "5", "--also", "247", "--fault",
                             "no-answer,count=2", "--fault", "bad-crc"},
                            &error);
    ASSERT_TRUE(cl) << error;
    EXPECT_EQ(cl->Mode, SimCommandLine::Transport::Tcp);
    EXPECT_EQ(cl->TcpPort, 1502);
    EXPECT_EQ(cl->Address, 7);
    EXPECT_TRUE(cl->AnyAddress);
    EXPECT_EQ(cl->SerialNumber, 321);
    EXPECT_EQ(cl->Baud, 19200u);
    EXPECT_TRUE(cl->Hold);
    EXPECT_EQ(cl->MoreUnits, (std::vector<std::uint8_t>{5, 247}));
    ASSERT_EQ(cl->Faults.size(), 2u);
    EXPECT_EQ(cl->Faults[0].Count, 2);

    EXPECT_TRUE(ParseSimCommandLine({"--help"}, &error)->Help);
    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {},
             {"--pty", "--tcp", "1502"},
             {"--tcp"},
             {"--tcp", "70000"},
             {"--pty", "--address", "0"},
             {"--pty", "--also", "248"},
             {"--pty", "--fault", "slow"},
             {"--pty", "--colour"},
             // no transaction id on RTU
             {"--pty", "--fault", "next-id"},
             {"--device", "/dev/ttyS0", "--fault", "repeat-previous,count=2"}}) {
        EXPECT_FALSE(ParseSimCommandLine(bad, &error));
        EXPECT_FALSE(error.empty());
    }
    EXPECT_TRUE(ParseSimCommandLine({"--tcp", "0", "--fault", "next-id"}, &error)) << error;
    // Every fault kind is explained in --help.
    for (FaultKind kind : AllFaultKinds()) {
        EXPECT_NE(SimHelpText().find(FaultKindName(kind)), std::string::npos);
    }
}

} // namespace
} // namespace kt41::sim
