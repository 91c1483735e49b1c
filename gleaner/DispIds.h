// Dispatch ids of the channel and database members that the search object
// and its crawl thread call (the ids of the type library).
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace ChannelId {
constexpr DISPID Destroy = 2;
constexpr DISPID Resume = 4;
constexpr DISPID StartTask = 5;
constexpr DISPID TaskStatus = 6;
constexpr DISPID AutoFresh = 8;
constexpr DISPID GetResult = 9;
constexpr DISPID AddMask = 10;
constexpr DISPID EmptyMasks = 11;
constexpr DISPID AddProtocol = 12;
constexpr DISPID EmptyProtocols = 13;
constexpr DISPID RemoveProtocol = 14;
constexpr DISPID PortionSize = 15;
constexpr DISPID PreloadSize = 16;
constexpr DISPID FileMul = 17;
constexpr DISPID Traffic = 18;
constexpr DISPID ResetTraffic = 19;
constexpr DISPID DisableProtocol = 21;
constexpr DISPID EnableProtocol = 22;
constexpr DISPID EnableAllProtocols = 23;
constexpr DISPID ThreadPriority = 27;
constexpr DISPID Reset = 28;
constexpr DISPID LoadMetaprocessorTable = 29;
constexpr DISPID DefaultOperator = 30;
constexpr DISPID DefaultEncoding = 31;
constexpr DISPID StopForceSemafor = 32;
constexpr DISPID Silent = 33;
}  // namespace ChannelId

namespace DatabaseId {
constexpr DISPID CreateCursor = 3;
constexpr DISPID DestroyCursor = 4;
constexpr DISPID NextRecord = 5;
constexpr DISPID TestCursor = 6;
constexpr DISPID FindRecord = 8;
constexpr DISPID Value = 9;
constexpr DISPID Source = 11;
constexpr DISPID Level = 12;
constexpr DISPID Add = 13;
constexpr DISPID AddValue = 17;
constexpr DISPID GetValueCount = 19;
constexpr DISPID GetValue = 20;
constexpr DISPID Status = 21;
constexpr DISPID Type = 35;
}  // namespace DatabaseId
