#include "integration/ProgramOptions.h"

namespace sorvanti {

std::span<const settings::Row<ProgramOptions>> ProgramOptions::settingRows() {
    using Row = settings::Row<ProgramOptions>;
    // Any stored value other than 0 means on, and is written back as 1.
    const auto onOrOff = [](const ProgramOptions&, int32_t read) { return read != 0 ? 1 : 0; };
    static const Row rows[] = {
        Row{.section = "設定",
            .key = "LiveConversion",
            .number = [](ProgramOptions& o) -> int32_t& { return o.liveConversion; },
            .readAs = onOrOff},
        Row{.section = "設定",
            .key = "Highlight",
            .number = [](ProgramOptions& o) -> int32_t& { return o.highlight; },
            .readAs = onOrOff},
    };
    return rows;
}

} // namespace sorvanti
