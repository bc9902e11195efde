// sorvanta-calc sample OUT.dat: writes the sample design as a design file.

#include <exception>
#include <filesystem>

#include "cli/Commands.h"
#include "design/DesignFile.h"

namespace sorvanta::cli {
namespace {

int RunSample(const TCommand& command, const std::vector<std::string>& args) {
    if (const int status = ExpectArguments(command, args, 1); status != ExitSuccess) return status;
    TDesignConditions design = StartupDesign();
    try {
        SaveDesignFile(std::filesystem::path(args[0]), design, TAnalysisOptions{});
    } catch (const std::exception& e) {
        return ReportError(e.what(), ExitDataError);
    }
    PrintLine("設計条件を保存しました。");
    return ExitSuccess;
}

const TCommandRegistration registration{{"sample",
                                         "OUT.dat",
                                         "見本の設計条件を設計条件ファイル OUT.dat に書きます。",
                                         10,
                                         &RunSample,
                                         {}}};

}  // namespace
}  // namespace sorvanta::cli
