// sorvanta-calc check DESIGN.dat: loads a design file and says whether it loads,
// then runs the pre-calculation checks as a user who answers Yes.

#include "cli/Commands.h"
#include "cli/RunSupport.h"

namespace sorvanta::cli {
namespace {

int RunCheck(const TCommand& command, const std::vector<std::string>& args) {
    if (const int status = ExpectArguments(command, args, 1); status != ExitSuccess) return status;
    TDesignConditions design = StartupDesign();
    TAnalysisOptions options;
    if (const int status = LoadDesignForCommand(args[0], design, options); status != ExitSuccess) {
        return status;
    }
    PrintLine("設計条件を読込みました。");
    if (const int status = RunPreCalculationChecks(design, options, args[0]); status != ExitSuccess)
        return status;
    PrintLine("計算前の点検に合格しました。");
    return ExitSuccess;
}

const TCommandRegistration registration{{"check",
                                         "DESIGN.dat",
                                         "設計条件ファイルを読み込み、計算前の点検をします。",
                                         20,
                                         &RunCheck,
                                         {}}};

}  // namespace
}  // namespace sorvanta::cli
