// check: every way a bank file differs from what the editor writes.
#include <cstdio>
#include <iostream>

#include "bank/bank_check.h"
#include "cli/cli_error.h"
#include "cli/commands.h"

namespace voxtane::cli {

int RunCheck(const std::string& file) {
    const BankCheckResult result = CheckSysexBank(file);
    if (result.status == BankCheckStatus::CannotOpen)
        throw CliError(kExitUsage, "cannot open \"" + file + "\": " + result.reason);

    if (result.status == BankCheckStatus::Exact) {
        std::cout << "ok: " << result.messages << " messages, exactly as the editor writes them\n";
        return kExitOk;
    }
    for (const BankDeviation& deviation : result.deviations) {
        char hex[24];
        std::snprintf(hex, sizeof hex, "0x%llX", static_cast<unsigned long long>(deviation.offset));
        std::cout << "offset " << deviation.offset << " (" << hex << "): " << deviation.text
                  << '\n';
    }
    return kExitFailure;
}

}  // namespace voxtane::cli
