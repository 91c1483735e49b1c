#include <gtest/gtest.h>

#include "ServerCommand.h"

TEST(ServerCommand, Switches) {
    struct Case {
        const char* line;
        ServerCommand want;
    };
    const Case cases[] = {
        {"/RegServer", ServerCommand::Register},
        {"-regserver", ServerCommand::Register},
        {"/REGSERVER", ServerCommand::Register},
        {"-UnregServer", ServerCommand::Unregister},
        {"/unregSERVER", ServerCommand::Unregister},
        {"x /RegServer", ServerCommand::Register},      // the last word after a switch character
        {"a-b /regserver", ServerCommand::Register},
        {"/RegServer now", ServerCommand::Serve},       // the whole rest of the line must match
        {"/RegServer ", ServerCommand::Serve},
        {"RegServer", ServerCommand::Serve},
        {"-Embedding", ServerCommand::Serve},
        {"", ServerCommand::Serve},
        {"/Reg", ServerCommand::Serve},
        {"//RegServer", ServerCommand::Register},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseServerCommand(c.line), c.want) << "\"" << c.line << "\"";
}
