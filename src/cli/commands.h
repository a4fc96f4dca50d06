#pragma once

#include <optional>
#include <string>
#include <vector>

// The subcommands of voxtane-syx. Each writes its result to standard output, its notes to
// standard error, and returns the exit code; a failure is thrown as a CliError.
namespace voxtane::cli {

struct ShowOptions {
    std::string file;
    std::optional<int> patch;  // 1-based; every patch when absent
};
int RunShow(const ShowOptions& options);

struct EditOptions {
    std::string in;
    std::string out;
    int patch = 1;
    std::vector<std::string> assignments;
};
int RunEdit(const EditOptions& options);

int RunNew(const std::string& out);

int RunCheck(const std::string& file);

struct ImportOptions {
    std::string bank;
    std::string out;
    std::vector<std::string> files;
    int at = 1;
};
int RunImport(const ImportOptions& options);

struct ExportOptions {
    std::string bank;
    std::string folder;
    bool replace = false;
};
int RunExport(const ExportOptions& options);

struct RecoverOptions {
    bool list = false;
    int number = 0;  // 1 is the newest bank on the shelf
    std::string out;
    std::string dataFolder;  // the window's when empty
};
int RunRecover(const RecoverOptions& options);

struct RenderOptions {
    std::string file;
    std::string out;
    int patch = 1;
    int note = 60;
    double hold = 1.0;
    std::optional<double> seconds;  // hold + 1 when absent
    int rate = 48000;
};
int RunRender(const RenderOptions& options);

}  // namespace voxtane::cli
