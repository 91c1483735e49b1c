// How a modal dialog was closed. The close box counts as Cancel, so a
// dialog never hands back the answer of its previous use.
#pragma once

enum class DialogClose { Ok, Cancel, CloseBox };
