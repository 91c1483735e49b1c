#include "searchwindow/core/SearchSession.h"

#include "masks/core/DefaultMasks.h"
#include "searchwindow/core/StartAddress.h"

#include <cstdint>
#include <optional>

namespace {
constexpr int32_t kTrue = -1;
}  // namespace

void SearchSession::Load() {
    db_.Create();
    search_.Create();
    search_.SetThreadPriority(0);
    search_.SetPortionSize(512);
    search_.SetPreloadSize(512);
    search_.SetFileMul(10);
    for (const char* p : kProtocolPrefixes) search_.AddProtocol(p);
    for (int i = 0; i < 5; ++i) {
        ProtocolOn[i] = false;
        view_.ShowProtocolBox(i, true);
        ProtocolClicked(i);
    }
    search_.SetMaxFound(-1);
    search_.SetMaxLevel(-1);
    search_.LoadMetaprocessorTable(FormatTableAddress);
    SetChannelCount(ChannelCountWanted);
    AddDefaultMasks(Masks, search_);
    SpinClick(Spinner::ChannelCount, true);
    SpinClick(Spinner::MaxLevel, false);
    SpinClick(Spinner::MaxFound, false);
    SpinClick(Spinner::ReadBlock, true);
    view_.ShowPriority(search_.ThreadPriority());
}

bool SearchSession::WaitIdle(int maxMs) {
    for (int waited = 0; search_.Status() != 0; waited += 20) {
        if (waited >= maxMs) return false;
        view_.Pump(20);
    }
    return true;
}

bool SearchSession::Unload() {
    if (busy_) return false;
    SessionBusyScope busy(busy_);
    if (search_.Status() != 0) StopSearch();
    if (!AskSaveChanges()) return false;
    view_.ShowStatus("Ending session...");
    // The engine ignores TruncateChannels while a crawl runs: let it end
    // first, or the channels outlive the window.
    WaitIdle(15000);
    search_.TruncateChannels(0, kTrue);
    ChannelCountCurrent = 0;
    ChannelCountWanted = 0;
    search_.Destroy();
    db_.Destroy();
    return true;
}

void SearchSession::SetChannelCount(int32_t wanted) {
    if (wanted > kMaxChannelCount) wanted = kMaxChannelCount;
    if (ChannelCountCurrent < wanted) {
        const int32_t from = ChannelCountCurrent;
        for (int32_t n = from; n < wanted; ++n) {
            const auto r = search_.AttachNewChannel();
            if (r == SearchEngineCalls::ChannelResult::NoObject) {
                view_.Message("Can not create chanal", "Error", MessageIcon::Critical);
                break;
            }
            if (r == SearchEngineCalls::ChannelResult::Refused) return;
            if (r == SearchEngineCalls::ChannelResult::Attached) ++ChannelCountCurrent;
        }
    } else {
        ChannelCountCurrent = wanted;
        search_.TruncateChannels(wanted, kTrue);
    }
    ChannelCountCurrent = search_.ChannelCount();
}

bool SearchSession::LoadFormatTable() {
    if (search_.LoadMetaprocessorTable(FormatTableAddress) != 0) return true;
    view_.Message("Can not open format table - " + FormatTableAddress, "Error", MessageIcon::None);
    return false;
}

void SearchSession::SpinClick(Spinner which, bool up) {
    int32_t* member = which == Spinner::ChannelCount ? &ChannelCountWanted
                      : which == Spinner::MaxFound   ? &MaxFoundSetting
                      : which == Spinner::MaxLevel   ? &MaxLevelSetting
                                                     : &ReadBlockSetting;
    const SpinStep s = Spin(which, *member, up, NoLimitText);
    *member = s.Value;
    view_.ShowSetting(which, s.Text);
    switch (which) {
    case Spinner::ChannelCount:
        SetChannelCount(static_cast<int16_t>(*member));
        ChannelCountWanted = search_.ChannelCount();
        view_.ShowSetting(which, std::to_string(ChannelCountWanted));
        break;
    case Spinner::MaxFound: search_.SetMaxFound(*member); break;
    case Spinner::MaxLevel: search_.SetMaxLevel(*member); break;
    case Spinner::ReadBlock: search_.SetPortionSize(*member); break;
    }
}

void SearchSession::SettingEdited(Spinner which, const std::string& text) {
    const std::optional<int32_t> v = ConvertSettingText(text);
    switch (which) {
    case Spinner::ChannelCount:
        // At least one channel; the box shows what the engine really holds.
        if (!v || *v > INT16_MAX) {
            view_.ShowSetting(which, std::to_string(ChannelCountWanted));
            return;
        }
        ChannelCountWanted = *v < 1 ? 1 : *v;
        SetChannelCount(ChannelCountWanted);
        view_.ShowSetting(which, std::to_string(search_.ChannelCount()));
        return;
    case Spinner::MaxFound:
        // Always shown normalised.
        if (v) MaxFoundSetting = *v < -1 ? -1 : *v;
        view_.ShowSetting(which, SettingText(which, MaxFoundSetting, NoLimitText));
        return;
    case Spinner::MaxLevel:
        if (!v || *v < -1) {
            if (v) MaxLevelSetting = -1;
            view_.ShowSetting(which, SettingText(which, MaxLevelSetting, NoLimitText));
            return;
        }
        MaxLevelSetting = *v;  // the typed text stays
        return;
    case Spinner::ReadBlock:
        if (!v) {
            view_.ShowSetting(which, std::to_string(ReadBlockSetting));
            return;
        }
        ReadBlockSetting = *v;
        if (ReadBlockSetting < 1) {
            ReadBlockSetting = 1;
            view_.ShowSetting(which, "1");
        }
        search_.SetPortionSize(ReadBlockSetting);
        return;
    }
}

void SearchSession::ProtocolClicked(int which) {
    SetProtocol(which, !ProtocolOn[which]);
    if (which == 1 && ProtocolOn[which]) view_.ShowPromotion();
}

void SearchSession::SetProtocol(int which, bool on) {
    ProtocolOn[which] = on;
    if (on)
        search_.EnableProtocol(kProtocolPrefixes[which]);
    else
        search_.DisableProtocol(kProtocolPrefixes[which]);
}
