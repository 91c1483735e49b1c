// The members of the engine's database object that the search window calls
// by name. Cursors are numbers the engine hands out; -10000 is none.
#pragma once

#include <cstdint>
#include <string>

class DatabaseCalls {
public:
    virtual ~DatabaseCalls() = default;
    static constexpr int32_t kNoCursor = -10000;

    virtual int32_t Create() = 0;
    virtual int32_t Destroy() = 0;
    virtual void Empty() = 0;
    virtual int32_t Size() = 0;
    virtual int32_t CreateCursor() = 0;
    virtual void DestroyCursor(int32_t cursor) = 0;
    virtual void NextRecord(int32_t cursor) = 0;
    virtual bool TestCursor(int32_t cursor) = 0;
    virtual int32_t FindRecordByKey(int32_t key) = 0;
    virtual std::string Value(int32_t cursor) = 0;
    virtual int32_t Key(int32_t cursor) = 0;
    virtual int32_t GetValueCount(int32_t cursor, const std::string& property) = 0;
    // The value number-th (from 0) value; ValueID < 0 when there is none;
    // DependID is the ValueID of the parent value it was found under.
    virtual std::string GetValue(int32_t cursor, const std::string& property, int32_t number, int32_t& valueId,
                                 int32_t& dependId) = 0;
    std::string GetValue(int32_t cursor, const std::string& property, int32_t number, int32_t& valueId) {
        int32_t dependId = -1;
        return GetValue(cursor, property, number, valueId, dependId);
    }
    virtual int32_t Reserved1(int32_t cursor) = 0;
    virtual void SetReserved1(int32_t cursor, int32_t v) = 0;
    virtual int32_t Reserved2(int32_t cursor) = 0;
    virtual void SetReserved2(int32_t cursor, int32_t v) = 0;
    virtual std::string Reserved3(int32_t cursor) = 0;
    virtual void SetReserved3(int32_t cursor, const std::string& v) = 0;
    virtual int32_t Save(const std::string& address, const std::string& userData) = 0;
    virtual int32_t Open(const std::string& address, std::string& userData) = 0;
    virtual int32_t AddFile(const std::string& address, std::string& userData) = 0;
};
