#include <string>
#include <string_view>

#include "FuzzTargets.h"
#include "platform/profile/IniText.h"

// A settings file edited by hand or damaged: every key of the store read,
// then a value written and read back.
int FuzzIniReader(const std::uint8_t* data, std::size_t size) {
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    for (const char* key : {"FormVersion", "NormPos", "spMaxLigne_Value", "Combo1_Text", "Count"}) {
        platform::ini::ReadValue(content, "TForm1", key, "0");
        platform::ini::ReadValue(content, "TForm1.Combo1_Items", key, "");
    }
    if (platform::ini::CanStore("TForm1", "eTitre1_Text", "Nom :")) {
        const std::string written =
            platform::ini::WithValue(content, "TForm1", "eTitre1_Text", "Nom :");
        if (platform::ini::ReadValue(written, "TForm1", "eTitre1_Text", "") != "Nom :") {
            __builtin_trap();
        }
    }
    return 0;
}
