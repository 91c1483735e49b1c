// The four setting spinners and their edit boxes: one step, its limit and
// the text the box shows; and the traffic line with its running total.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Each channel is a thread in the engine, so the window asks for at most
// this many (spinner, edit box and restored searches alike).
constexpr int32_t kMaxChannelCount = 64;

struct SpinStep {
    int32_t Value;
    std::string Text;
};

enum class Spinner { ChannelCount, MaxFound, MaxLevel, ReadBlock };

// One click: the new value and the text of its box. The limits' down step
// shows noLimitText for a value below 0; their up step always the number.
SpinStep Spin(Spinner which, int32_t value, bool up, const std::string& noLimitText);
// A typed value: the number when the text converts and lies in the
// spinner's range (the limits accept -1 and up), else nothing.
std::optional<int32_t> ParseSetting(Spinner which, const std::string& text);
// A typed number as the Options panel's edits convert it: blanks around it
// allowed, a sign, a fraction rounded to even; empty, other characters or
// a value beyond 32 bits: nothing.
std::optional<int32_t> ConvertSettingText(const std::string& text);
// The box text of a value as the edits show it again after a bad entry.
std::string SettingText(Spinner which, int32_t value, const std::string& noLimitText);

// Bytes per second and the total of this run. The total is 64-bit: a long
// crawl passes 2 GiB.
class TrafficCounter {
public:
    void Reset() { total_ = 0; }
    void Tick(int32_t bytes) { total_ += bytes; last_ = bytes; }
    int64_t Total() const { return total_; }
    std::string TrafficLine() const { return "Traffic :  " + std::to_string(last_) + "  bytes/sec"; }
    std::string TotalLine() const { return "Total load :  " + std::to_string(total_) + "  bytes"; }

private:
    int64_t total_ = 0;
    int32_t last_ = 0;
};
