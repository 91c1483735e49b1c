// The engine's search and database objects as the window calls them: by
// member name through IDispatch (late binding), created by ProgID.
#pragma once

#include <string>

#include "DispatchDriver.h"
#include "searchwindow/core/DatabaseCalls.h"
#include "searchwindow/core/SearchEngineCalls.h"

// Creates the database and search objects from progIdPrefix + ".InfoDatabase"
// and ".InfoSearch"; false, with both empty, when either cannot be made.
bool BindEngine(const std::string& progIdPrefix, TDispatchDriver& database, TDispatchDriver& search);

class DatabaseDispatch : public DatabaseCalls {
public:
    explicit DatabaseDispatch(const TDispatchDriver& db) : db_(db) {}
    IDispatch* Dispatch() const { return db_.Dispatch(); }

    int32_t Create() override;
    int32_t Destroy() override;
    void Empty() override;
    int32_t Size() override;
    int32_t CreateCursor() override;
    void DestroyCursor(int32_t cursor) override;
    void NextRecord(int32_t cursor) override;
    bool TestCursor(int32_t cursor) override;
    int32_t FindRecordByKey(int32_t key) override;
    std::string Value(int32_t cursor) override;
    int32_t Key(int32_t cursor) override;
    int32_t GetValueCount(int32_t cursor, const std::string& property) override;
    using DatabaseCalls::GetValue;
    std::string GetValue(int32_t cursor, const std::string& property, int32_t number, int32_t& valueId,
                         int32_t& dependId) override;
    int32_t Reserved1(int32_t cursor) override;
    void SetReserved1(int32_t cursor, int32_t v) override;
    int32_t Reserved2(int32_t cursor) override;
    void SetReserved2(int32_t cursor, int32_t v) override;
    std::string Reserved3(int32_t cursor) override;
    void SetReserved3(int32_t cursor, const std::string& v) override;
    int32_t Save(const std::string& address, const std::string& userData) override;
    int32_t Open(const std::string& address, std::string& userData) override;
    int32_t AddFile(const std::string& address, std::string& userData) override;

private:
    TDispatchDriver db_;
};

class SearchEngineDispatch : public SearchEngineCalls {
public:
    // progIdPrefix names the server ("Gleaner"): channels are made from
    // progIdPrefix + ".InfoChannel".
    SearchEngineDispatch(const TDispatchDriver& search, const std::string& progIdPrefix)
        : search_(search), prefix_(progIdPrefix) {}

    int32_t Status() override;
    void EmptyMasks() override;
    void AddMask(const std::string& MaskName, const std::string& MaskValue, const std::string& DependOn,
                 int32_t MaskType, int32_t DependType, int32_t Priority, int32_t MaxFoundCount, int32_t CanCompile,
                 int32_t Hidden) override;
    int32_t Create() override;
    int32_t Destroy() override;
    void SetThreadPriority(int32_t v) override;
    int32_t ThreadPriority() override;
    void SetPortionSize(int32_t v) override;
    void SetPreloadSize(int32_t v) override;
    void SetFileMul(int32_t v) override;
    void SetMaxFound(int32_t v) override;
    void SetMaxLevel(int32_t v) override;
    void AddProtocol(const std::string& protocol) override;
    void EnableProtocol(const std::string& protocol) override;
    void DisableProtocol(const std::string& protocol) override;
    int32_t LoadMetaprocessorTable(const std::string& address) override;
    int32_t ProcessExternalLinks() override;
    void SetProcessExternalLinks(int32_t v) override;
    ChannelResult AttachNewChannel() override;
    void TruncateChannels(int32_t count, int32_t autoDestroy) override;
    int32_t ChannelCount() override;
    int32_t Start(const std::string& address, DatabaseCalls& database) override;
    void Stop() override;
    void Suspend() override;
    void Resume() override;
    int32_t Traffic() override;
    void ResetTraffic() override;

private:
    TDispatchDriver search_;
    std::string prefix_;
};
