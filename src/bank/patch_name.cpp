#include "bank/patch_name.h"

#include "bank/text_encoding.h"

namespace voxtane {

std::string PatchName(std::string_view text) {
    std::string name = CutToCharacters(ToValidUtf8(text), kMaxNameLength);
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return name;
}

}  // namespace voxtane
