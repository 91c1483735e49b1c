// GIF extension blocks as read from a file. No platform headers.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

enum TExtensionKind { ekGraphicControl = 0, ekPlainText = 1, ekApplication = 2, ekComment = 3 };

class TExtension {
public:
    explicit TExtension(TExtensionKind Kind) : Kind(Kind) {}

    TExtensionKind Kind;
    // The block's fixed bytes after its label: 6 for a graphic control
    // (size, packed flags, delay low and high, transparent index, terminator),
    // 13 for plain text, 12 for an application block, none for a comment.
    std::vector<uint8_t> Fixed;
    // The data sub-blocks of plain text, application and comment blocks.
    std::vector<std::string> SubBlocks;

    // Graphic control fields (0 for other kinds).
    uint8_t Packed() const { return Kind == ekGraphicControl && Fixed.size() > 1 ? Fixed[1] : 0; }
    int Delay() const;
    uint8_t TransparentIndex() const { return Kind == ekGraphicControl && Fixed.size() > 4 ? Fixed[4] : 0; }
};

using TExtensionList = std::vector<std::unique_ptr<TExtension>>;
