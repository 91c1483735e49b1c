#include "EngineMessages.h"

const char kErrorCaption[] = "Error";
const char kCanNotInitializeThread[] = "Can not initialize thread";

void ShowEngineMessage(const std::string& text, const std::string& caption, UINT icon) {
    MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK | icon);
}
