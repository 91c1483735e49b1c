#include <gtest/gtest.h>

#include <string>

#include "ftpclient/core/FTPCommand.h"

namespace {

TCommandResult Result(bool succeeded, const std::string& error, bool abortRequested, bool connectedAfter) {
    TCommandResult r;
    r.Succeeded = succeeded;
    r.ErrorMessage = error;
    r.AbortRequested = abortRequested;
    r.ConnectedAfter = connectedAfter;
    return r;
}

}  // namespace

TEST(FTPCommand, EngineCallByKind) {
    const struct {
        TFTPCommand command;
        TEngineCall call;
    } cases[] = {
        {MakeConnect("h", "21", "u", "p"), TEngineCall::Connect},
        {MakeSimple(cmdQuit), TEngineCall::Quit},
        {MakeList("l.tmp", true), TEngineCall::Dir},
        {MakeSimple(cmdPwd), TEngineCall::Pwd},
        {MakeCwd("/x"), TEngineCall::Cwd},
        {MakeNamed(cmdDele, "f"), TEngineCall::Dele},
        {MakeNamed(cmdRmd, "d"), TEngineCall::Rmd},
        {MakeRename("a", "b"), TEngineCall::Rename},
        {MakeNamed(cmdMkd, "d"), TEngineCall::Mkd},
        {MakeUpload("C:\\a", "/", 1, true, "a"), TEngineCall::Put},
        {MakeSimple(cmdCDup), TEngineCall::CDup},
        {MakeTypeSet(true), TEngineCall::SetType},
        {MakeQuote("SITE CHMOD 644 a"), TEngineCall::Quote},
        {MakeNamed(cmdSize, "a"), TEngineCall::Size},
    };
    for (auto& c : cases) EXPECT_EQ(EngineCallOf(c.command), c.call) << KindName(c.command.Kind);

    TFTPCommand get;
    ASSERT_TRUE(MakeDownload("C:\\big.iso", 0, 5368709243LL, true, "big.iso", "/pub", get));
    EXPECT_EQ(EngineCallOf(get), TEngineCall::Get);
    EXPECT_EQ(get.Size, 5368709243LL);
    ASSERT_TRUE(MakeDownload("C:\\big.iso", 4294967296LL + 7, 5368709243LL, true, "big.iso", "/pub", get));
    EXPECT_EQ(EngineCallOf(get), TEngineCall::RestGet);
    EXPECT_EQ(get.ResumeAt, 4294967303LL);
    EXPECT_TRUE(get.StopOnFail);
    EXPECT_FALSE(get.DisplayFlag);
}

TEST(FTPCommand, DotNamesAreNeverDownloaded) {
    TFTPCommand c;
    EXPECT_FALSE(MakeDownload("C:\\x", 0, 0, true, ".", "/", c));
    EXPECT_FALSE(MakeDownload("C:\\x", 0, 0, true, "..", "/", c));
    EXPECT_TRUE(MakeDownload("C:\\x", 0, 0, true, "...", "/", c));
}

TEST(FTPCommand, WhatTheEndOfARunDoes) {
    const struct {
        const char* name;
        TFTPCommand command;
        TCommandResult result;
        bool failed, show;
        std::string message;
        bool freeProgress, clearQueue, clearConnecting, disconnectedUI;
    } cases[] = {
        {"success", MakeSimple(cmdPwd), Result(true, "", false, true), false, false, "", false, false, false, false},
        {"failure with text", MakeCwd("x"), Result(false, "550 No such folder", false, true),
         true, true, "550 No such folder", true, false, false, false},
        {"engine refusal without text", MakeNamed(cmdDele, "f"), Result(false, "", false, true),
         true, true, FallbackErrorText(cmdDele), true, false, false, false},
        {"failed upload frees its window", MakeUpload("a", "/", 1, true, "a"), Result(false, "", false, true),
         true, true, FallbackErrorText(cmdPut), true, false, false, false},
        {"size probe shows nothing", MakeNamed(cmdSize, "www"), Result(false, "550 not a file", false, true),
         true, false, "", true, false, false, false},
        {"failed connect empties the queue", MakeConnect("h", "21", "u", "p"), Result(false, "Connection refused", false, false),
         true, true, "Connection refused", true, true, true, true},
        {"aborted upload the server closed with 226", MakeUpload("a", "/", 9, true, "a"), Result(true, "", true, true),
         true, true, AbortedTransferText, true, false, false, false},
        {"abort flag means nothing outside transfers", MakeSimple(cmdPwd), Result(true, "", true, true),
         false, false, "", false, false, false, false},
        {"session gone after success", MakeSimple(cmdQuit), Result(true, "", false, false),
         false, false, "", false, true, false, true},
    };
    for (auto& c : cases) {
        TCommandEnd end = PlanCommandEnd(c.command, c.result);
        EXPECT_EQ(end.Failed, c.failed) << c.name;
        EXPECT_EQ(end.ShowMessage, c.show) << c.name;
        EXPECT_EQ(end.MessageText, c.message) << c.name;
        EXPECT_EQ(end.FreeProgressWindow, c.freeProgress) << c.name;
        EXPECT_EQ(end.ClearQueue, c.clearQueue) << c.name;
        EXPECT_EQ(end.ClearConnecting, c.clearConnecting) << c.name;
        EXPECT_EQ(end.DisconnectedUI, c.disconnectedUI) << c.name;
        EXPECT_EQ(end.LogText.find(end.Failed ? "- Command Failure : " : "- Command Success"), 0u) << c.name;
    }
    // Only a failed rename re-lists, to drop the caption the user typed.
    EXPECT_TRUE(PlanCommandEnd(MakeRename("a", "b"), Result(false, "550 Denied", false, true)).Relist);
    EXPECT_FALSE(PlanCommandEnd(MakeRename("a", "b"), Result(true, "", false, true)).Relist);
    EXPECT_FALSE(PlanCommandEnd(MakeNamed(cmdDele, "a"), Result(false, "550 Denied", false, true)).Relist);
    // The failure text reaches the log, not an error already cleared.
    TCommandEnd end = PlanCommandEnd(MakeCwd("x"), Result(false, "550 No such folder", false, true));
    EXPECT_EQ(end.LogText, "- Command Failure : 550 No such folder");
    EXPECT_TRUE(end.ClearEngineError);
}

TEST(FTPCommand, OnlyCwdCdupAndPwdRepliesMoveTheServerFolder) {
    const struct {
        const char* name;
        int rq;
        bool moves;
    } cases[] = {{"CWD", 4, true}, {"PWD", 31, true}, {"CDUP", 33, true}, {"MKD", 21, false},
                 {"RMD", 22, false}, {"DIR", 7, false}};
    for (auto& c : cases) EXPECT_EQ(RequestMovesServerDir(c.rq), c.moves) << c.name;
}

TEST(FTPCommand, FolderBoxMostRecentFirst) {
    std::vector<std::string> items;
    for (const char* d : {"/", "/pub", "/PUB", "/home", ""}) PushServerDir(items, d);
    EXPECT_EQ(items, (std::vector<std::string>{"/home", "/PUB", "/"}));
}
