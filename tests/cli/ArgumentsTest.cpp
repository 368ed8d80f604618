#include "CliFixture.h"

#include "cli/Arguments.h"

using namespace kt41::cli;

class Arguments_ : public kt41::testing::CliTest {};

TEST_F(Arguments_, UsageErrorsExitWithTwo) {
    struct Case {
        std::vector<std::string> args;
        std::string_view reason;
    };
    for (const Case& c : {
             Case{{}, "не задана команда"},
             Case{{"frobnicate"}, "неизвестная команда «frobnicate»"},
             Case{{"read", "--port", "/dev/ttyS0", "--address", "5"}, "-o"},
             Case{{"read", "--address", "5", "-o", "x.c50"}, "--port"},
             Case{{"write", "--port", "p", "x.c50"}, "--address"},
             Case{{"write", "--port", "p", "--address", "5"}, "не задан файл"},
             Case{{"write", "--port", "p", "--address", "5", "a.c50", "b.c50"}, "лишний"},
             Case{{"read", "--port", "p", "--address", "0", "-o", "x"}, "от 1 до 239"},
             Case{{"read", "--port", "p", "--address", "240", "-o", "x"}, "от 1 до 239"},
             Case{{"read", "--port", "p", "--address", "12abc", "-o", "x"}, "от 1 до 239"},
             Case{{"read", "--port", "p", "--address"}, "от 1 до 239"},
             Case{{"current", "--port", "p", "--address", "1", "--baud", "fast"}, "скорость"},
             Case{{"current", "--port", "p", "--address", "1", "--colour"}, "«--colour»"},
             Case{{"show"}, "не задан файл"},
             Case{{"show", "--port", "p", "x.c50"}, "«--port»"},
             Case{{"--help", "extra"}, "лишний"},
         }) {
        EXPECT_EQ(Run(c.args), kExitUsage) << c.reason;
        EXPECT_NE(err.str().find(c.reason), std::string::npos) << err.str();
        EXPECT_NE(err.str().find("kt41ctl --help"), std::string::npos);
        EXPECT_TRUE(out.str().empty());
    }
    EXPECT_TRUE(driver.Calls.empty()); // nothing reached the line
}

TEST_F(Arguments_, HelpGoesToStandardOutput) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--help"}, {"-h"}, {"read", "--help"}}) {
        EXPECT_EQ(Run(args), kExitOk);
        EXPECT_EQ(out.str(), kHelpText);
        EXPECT_TRUE(err.str().empty());
    }
    for (const std::string_view command : {"read", "write", "show", "current", "--port",
                                           "--address", "tcp://", "--baud", "--verbose"}) {
        EXPECT_NE(kHelpText.find(command), std::string_view::npos) << command;
    }
}

TEST_F(Arguments_, ParsedValues) {
    const auto read = ParseArguments({"read", "--port=tcp://127.0.0.1:1502", "--address", "239",
                                      "--output", "R50_№ 1.c50", "--baud", "19200", "--verbose"});
    ASSERT_TRUE(read.Parsed) << read.Error;
    EXPECT_EQ(read.Parsed->Command, TCommand::Read);
    EXPECT_EQ(read.Parsed->Port, "tcp://127.0.0.1:1502");
    EXPECT_EQ(read.Parsed->Address, 239);
    EXPECT_EQ(read.Parsed->File, "R50_№ 1.c50");
    EXPECT_EQ(read.Parsed->Baud, 19200u);
    EXPECT_TRUE(read.Parsed->Verbose);

    const auto write = ParseArguments({"write", "x.c50", "--address=1", "--port", "/dev/ttyUSB0"});
    ASSERT_TRUE(write.Parsed) << write.Error;
    EXPECT_EQ(write.Parsed->File, "x.c50");
    EXPECT_EQ(write.Parsed->Address, 1);
    EXPECT_EQ(write.Parsed->Baud, 9600u);
    EXPECT_FALSE(write.Parsed->Verbose);
}
