// zelkdefaults: writes the built-in judging scripts into a folder as the files an installation ships
// (share/zelkon/script), each line followed by CR LF as the script editor saves them, so that an installed
// program reading them judges exactly as one that runs on the built-in texts.
#include "logs/error.h"
#include "logs/file_io.h"
#include "logs/text.h"
#include "script/judging_scripts.h"

#include <filesystem>
#include <iostream>

using namespace zelk;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "Usage: zelkdefaults FOLDER\n";
        return 2;
    }
    try {
        const std::string folder = TextFromPath(argv[1]);
        std::filesystem::create_directories(PathFromText(folder));
        for (const auto kind :
             {TScriptKind::CalcQSO, TScriptKind::CalcMultiplier, TScriptKind::CalcTotal,
              TScriptKind::IsConfirmative, TScriptKind::IsValidReceive, TScriptKind::IsDuplicate}) {
            const TZelkScriptItem item(kind, TScriptFiles(folder));
            WriteFileAtomic(item.GetFileName(), item.GetDefaultText() + "\r\n");
        }
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "zelkdefaults: " << ToUtf8(e.what()) << "\n";
        return 1;
    }
}
