#include "cli/RunConvert.h"

#include "cli/CheckPrinter.h"
#include "cli/ConvertFiles.h"
#include "cli/ConvertOptions.h"
#include "cli/LineConversion.h"
#include "conversion/DictionaryCheck.h"
#include "conversion/DictionaryLoader.h"
#include "conversion/DictionaryTable.h"
#include "conversion/WordMode.h"
#include "settings/DataFolders.h"

#include <exception>
#include <filesystem>
#include <istream>
#include <memory>
#include <new>
#include <ostream>
#include <thread>
#include <unistd.h>

namespace sorvanti {

namespace {

using namespace cli;

// Why word mode is on in this run, for the message when the analyser cannot be created.
std::string wordModeReason(const Options& options, const std::string& dictionary) {
    return options.words ? std::string("--words の指定")
                         : dictionary + " が単語単位を指定しています";
}

int convert(const Options& options, std::istream& in, std::ostream& out, std::ostream& err,
            const ConvertEnv& env) {
    auto table = std::make_unique<DictionaryTable>();
    std::string dictionaryUsed;
    LoadResult loaded = loadDictionaryArgument(*table, options.dictionary, env, dictionaryUsed);
    if (loaded.entriesDropped > 0) {
        err << kProgram << ": 警告: 辞書の項目が " << DictionaryTable::kCapacity
            << " を超えたため、" << loaded.entriesDropped
            << " 項目を読み込みませんでした: " << dictionaryUsed << '\n';
    }
    if (loaded.linesNotTaken > 0) {
        err << kProgram << ": 警告: " << dictionaryUsed << " の " << loaded.firstLineNotTaken
            << " 行目など " << loaded.linesNotTaken
            << " 行は、UTF-8 として正しくないか CP932 にない文字を含むため読み飛ばしました"
               " (--check で一覧できます)\n";
    }
    if (loaded.sizeLimitReached) {
        err << kProgram << ": 警告: 辞書が " << (kMaxDictionaryBytes >> 20)
            << " MB を超えたため、その先を読み込みませんでした: " << dictionaryUsed << '\n';
    }

    // Word mode: the analyser, created once for the run and shared by the threads.
    WordAnalyserHolder holder;
    const words::WordAnalyser* analyser = nullptr;
    if (options.words.value_or(loaded.wordMode)) {
        analyser = holder.get();
        if (!analyser)
            throw Failure(holder.error() + " (" + wordModeReason(options, dictionaryUsed) + ")");
    }

    std::vector<std::string> paths = options.files;
    if (paths.empty())
        paths.push_back("-");
    // Every input is opened before anything is written, so a missing file fails the run
    // up front; the descriptors are held only one at a time while converting.
    int64_t total = 0;
    for (const std::string& path : paths) {
        Input probe(path, in);
        total = probe.size() < 0 || total < 0 ? -1 : total + probe.size();
    }

    std::unique_ptr<Output> output = options.haveOutput && options.output != "-"
                                         ? std::make_unique<Output>(options.output)
                                         : std::make_unique<Output>(out);
    Progress progress(err, env.stderrIsTerminal, total, env.progressThreshold);
    try {
        convertInputs(*table, options.reverse ? 1 : 0, options.utf8, analyser, env, paths, in,
                      *output, progress);
        output->commit();
    } catch (...) {
        progress.finish();
        output->discard();
        throw;
    }
    progress.finish();
    return 0;
}

int check(const Options& options, std::ostream& out, const ConvertEnv& env) {
    const std::string path = resolveDictionary(options.dictionary, env);
    WordAnalyserHolder analyser;
    const CheckReport report = checkDictionary(readDictionaryBytes(path), options.reverse ? 1 : 0,
                                               {&analyser, options.words});
    const int status = printCheckReport(report, path, out);
    out.flush();
    return status;
}

} // namespace

ConvertEnv processConvertEnv() {
    ConvertEnv env;
    std::error_code ec;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        const std::vector<std::string> bases =
            dictionaryBases(locateDataFolders(self.string(), UserDirectories::fromProcess()));
        env.programDir = bases[0];
        if (bases.size() > 1)
            env.samplesDir = bases[1];
    }
    env.stderrIsTerminal = ::isatty(STDERR_FILENO) == 1;
    env.parallel = std::thread::hardware_concurrency() > 1;
    return env;
}

int runConvert(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
               std::ostream& err, const ConvertEnv& env) {
    Options options;
    std::string usageError = parseOptions(args, options);
    if (options.help) {
        out << kUsage;
        out.flush();
        return 0;
    }
    if (options.version) {
        out << kProgram << ' ' << SORVANTI_VERSION << '\n';
        out.flush();
        return 0;
    }
    if (!usageError.empty()) {
        err << kProgram << ": " << usageError << " (使い方は --help)\n";
        return 2;
    }
    try {
        if (options.check)
            return check(options, out, env);
        return convert(options, in, out, err, env);
    } catch (const Failure& failure) {
        err << kProgram << ": " << failure.what() << '\n';
        return 1;
    } catch (const std::bad_alloc&) {
        err << kProgram << ": メモリーが足りません\n";
        return 1;
    } catch (const std::exception& e) {
        err << kProgram << ": 予期しないエラーです: " << e.what() << '\n';
        return 1;
    }
}

} // namespace sorvanti
