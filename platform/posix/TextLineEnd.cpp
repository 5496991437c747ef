#include "platform/TextLineEnd.h"

std::string_view GetTextLineEnd() { return "\n"; }
