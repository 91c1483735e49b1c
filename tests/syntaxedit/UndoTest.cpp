#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EditModel.h"
#include "SyntaxMemoErrors.h"

TEST(UndoLog, TypingAfterUndoDropsRedo) {
    TEditModel m;
    m.Type("abc");
    m.Type("d");
    EXPECT_EQ(m.Text(), "abcd");
    m.Undo.Undo();
    EXPECT_EQ(m.Text(), "abc");
    EXPECT_TRUE(m.Undo.CanRedo());
    m.Undo.Redo();
    EXPECT_EQ(m.Text(), "abcd");
    m.Undo.Undo();
    m.Type("x");
    EXPECT_EQ(m.Text(), "abcx");
    EXPECT_FALSE(m.Undo.CanRedo());
    m.Undo.Redo();  // nothing to redo
    EXPECT_EQ(m.Text(), "abcx");
    m.Undo.Undo();
    m.Undo.Undo();
    EXPECT_EQ(m.Text(), "");
    EXPECT_FALSE(m.Undo.CanUndo());
    EXPECT_EQ(m.Beeps, 0);
}

TEST(UndoLog, UndoOfABackwardSelectionRestoresTheText) {
    TEditModel m;
    m.Type("hello world, bye");
    m.Select(11, 6);  // "world" selected from right to left
    m.Replace("there, friend");
    EXPECT_EQ(m.Text(), "hello there, friend, bye");
    m.Undo.Undo();
    EXPECT_EQ(m.Text(), "hello world, bye");
    EXPECT_EQ(m.Anchor, 11);
    EXPECT_EQ(m.Caret, 6);
    m.Undo.Redo();
    EXPECT_EQ(m.Text(), "hello there, friend, bye");
}

TEST(UndoLog, GroupedEditsUndoInOneStep) {
    TEditModel m;
    m.Type("one two");
    // A move: delete "one " and put it at the end, as one group.
    m.Undo.OpenGroup(21);
    m.Select(0, 4);
    m.Replace("");
    m.Select(3, 3);
    m.Replace(" one");
    m.Undo.CloseGroup(21);
    EXPECT_EQ(m.Text(), "two one");
    m.Undo.Undo();
    EXPECT_EQ(m.Text(), "one two");
    m.Undo.Redo();
    EXPECT_EQ(m.Text(), "two one");
    m.Undo.Undo();
    m.Undo.Undo();
    EXPECT_EQ(m.Text(), "");
    EXPECT_EQ(m.Beeps, 0);
}

TEST(UndoLog, SizeLimitZeroKeepsNothing) {
    TEditModel m;
    m.Undo.Log()->SizeLimit = 0;
    m.Type("abc");
    EXPECT_EQ(m.Undo.Log()->Count, 0);
    EXPECT_EQ(m.Undo.Log()->Current, nullptr);
    EXPECT_EQ(m.Undo.Log()->Size, 0);
    EXPECT_FALSE(m.Undo.Modified());
    m.Undo.Undo();  // nothing to undo, and no stale cursor to follow
    m.Type("d");
    EXPECT_EQ(m.Text(), "abcd");
}

TEST(UndoLog, SizeLimitDropsWholeOldTransactions) {
    TEditModel m;
    m.Type("a");
    int32_t one = m.Undo.Log()->Size;
    m.Undo.Clear();
    m.Undo.Log()->SizeLimit = one * 2;
    m.Type("b");
    m.Type("c");
    m.Type("d");
    EXPECT_EQ(m.Undo.Log()->Count, 12);  // two transactions of six entries
    m.Undo.Undo();
    m.Undo.Undo();
    m.Undo.Undo();  // the oldest is gone
    EXPECT_EQ(m.Text(), "ab");
    EXPECT_EQ(m.Beeps, 0);
}

TEST(UndoLog, Modified) {
    TEditModel m;
    EXPECT_FALSE(m.Undo.Modified());
    m.Type("x");
    EXPECT_TRUE(m.Undo.Modified());
    m.Undo.SetModified(true);
    EXPECT_TRUE(m.Undo.Modified());
    m.Undo.SetModified(false);
    EXPECT_FALSE(m.Undo.Modified());
    m.Undo.SetModified(true);  // does nothing
    EXPECT_FALSE(m.Undo.Modified());
}

TEST(UndoLog, BadTransactionLogEntry) {
    TEditModel m;
    m.Type("abc");
    m.Undo.BeginReplace("x");
    try {
        m.Undo.BeginReplace("y");
        FAIL();
    } catch (const ESyntaxMemo& e) {
        EXPECT_EQ(e.Message(), "Bad transaction log entry");
    }
    EXPECT_EQ(m.Beeps, 1);
    EXPECT_FALSE(m.Undo.CanUndo());  // the log was cleared
    // A commit that does not match what was opened.
    m.Undo.BeginReplace("x");
    EXPECT_THROW(m.Undo.Commit(TUndoRecorder::ucInsertStream), ESyntaxMemo);
    EXPECT_THROW(m.Undo.Commit(TUndoRecorder::ucReplace), ESyntaxMemo);  // nothing open any more
    EXPECT_EQ(m.Beeps, 3);
    // Recording goes on normally afterwards.
    m.Type("d");
    m.Undo.Undo();
    EXPECT_EQ(m.Text(), "abc");
}

TEST(UndoLog, DamagedLogIsClearedWithABeep) {
    TEditModel m;
    m.Type("abc");
    // An entry where a bracket belongs.
    TUndoEntry* stray = new TUndoEntry;
    stray->Kind = ukPositions;
    m.Undo.Log()->Push(stray, 16);
    m.Undo.Undo();
    EXPECT_EQ(m.Beeps, 1);
    EXPECT_FALSE(m.Undo.CanUndo());
    EXPECT_EQ(m.Text(), "abc");
    EXPECT_TRUE(m.Undo.Logging());
}

TEST(UndoLog, UnindentRecordsWhatWasRemoved) {
    TEditModel m;
    m.Type("\t  x\r y");
    // Un-indent removes the TAB and both blanks of the first line.
    m.Store.DeleteText(0, 3);
    m.Undo.RecordUnindent(0, "\t  ");
    EXPECT_EQ(m.Text(), "x\r y");
    m.Undo.Undo();
    EXPECT_EQ(m.Text(), "\t  x\r y");
    m.Undo.Redo();
    EXPECT_EQ(m.Text(), "x\r y");
    // Indent: two blanks in front of the second line.
    m.Store.InsertText(2, "  ");
    m.Undo.RecordIndent(2, "  ");
    EXPECT_EQ(m.Text(), "x\r   y");
    m.Undo.Undo();
    EXPECT_EQ(m.Text(), "x\r y");
}

TEST(UndoLog, StreamInsertionsRedoFromTheirCopy) {
    TEditModel m;
    m.Type("ab");
    TMemoryStream data;
    data.WriteBuffer("XYZ", 3);
    data.SetPosition(1);  // only the rest of the stream goes in
    m.Undo.BeginInsertStream(data);
    EXPECT_EQ(data.Position(), 1);
    m.Undo.Stop();
    m.Replace("YZ");
    m.Undo.Start();
    m.Undo.Commit(TUndoRecorder::ucInsertStream);
    EXPECT_EQ(m.Text(), "abYZ");
    m.Undo.Undo();
    EXPECT_EQ(m.Text(), "ab");
    m.Undo.Redo();
    EXPECT_EQ(m.Text(), "abYZ");
}

TEST(Stack, UnderflowAndRedoEntries) {
    std::vector<intptr_t> freed;
    TStack s;
    s.OnFree = [&](void* p) { freed.push_back(reinterpret_cast<intptr_t>(p)); };
    try {
        s.Pop();
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Stack underflow");
    }
    EXPECT_THROW(s.StepBack(), Exception);
    EXPECT_THROW(s.StepForward(), Exception);
    s.Push(reinterpret_cast<void*>(1), 0);
    s.Push(reinterpret_cast<void*>(2), 4);
    s.Push(reinterpret_cast<void*>(3), 0);
    EXPECT_EQ(s.Size, 52);
    EXPECT_EQ(s.StepBack(), reinterpret_cast<void*>(3));
    EXPECT_EQ(s.StepBack(), reinterpret_cast<void*>(2));
    EXPECT_EQ(s.Count, 1);
    EXPECT_EQ(s.StepForward(), reinterpret_cast<void*>(2));
    s.Push(reinterpret_cast<void*>(4), 0);  // drops 3
    EXPECT_EQ(freed, std::vector<intptr_t>({3}));
    EXPECT_EQ(s.Count, 3);
    EXPECT_TRUE(s.AtTop());
}

TEST(Bookmarks, FollowInsertedAndDeletedText) {
    TEditModel m;
    std::vector<std::string> freed;
    m.Bookmarks.OnFree = [&](const std::string& name) { freed.push_back(name); };
    m.Type("0123456789abcdef");
    m.Bookmarks.Add("five", 5);
    m.Bookmarks.Add("ten", 10);
    m.Bookmarks.Add("two", 2);
    EXPECT_EQ(m.Bookmarks.First->Name, "two");
    m.Select(5, 5);
    m.Replace("xyz");  // three characters at 5
    EXPECT_EQ(m.Bookmarks.PositionOf("two"), 2);
    EXPECT_EQ(m.Bookmarks.PositionOf("five"), 8);
    EXPECT_EQ(m.Bookmarks.PositionOf("ten"), 13);
    m.Select(7, 12);  // "z567" and "8": five characters from 7
    m.Replace("");
    EXPECT_EQ(freed, std::vector<std::string>({"five"}));  // it lay inside
    EXPECT_EQ(m.Bookmarks.PositionOf("five"), -1);
    EXPECT_EQ(m.Bookmarks.PositionOf("ten"), 8);
    EXPECT_EQ(m.Bookmarks.Count(), 2);
    EXPECT_EQ(m.Bookmarks.FindFrom(3)->Name, "ten");
    EXPECT_EQ(m.Bookmarks.FindFrom(99)->Name, "ten");  // none after: the last one
    // A bookmark at the start of a deleted range stays there.
    m.Bookmarks.TextDeleted(4, 2);
    EXPECT_EQ(m.Bookmarks.PositionOf("two"), 2);
    EXPECT_EQ(m.Bookmarks.PositionOf("ten"), 4);
    m.Bookmarks.Clear();
    EXPECT_EQ(freed.size(), 3u);
    EXPECT_EQ(m.Bookmarks.First, nullptr);
}
