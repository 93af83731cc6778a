#include "integration/ProgramOptions.h"

namespace sorvanti {

std::span<const settings::Row<ProgramOptions>> ProgramOptions::settingRows() {
    using Row = settings::Row<ProgramOptions>;
    static const Row rows[] = {
        Row{.section = "設定",
            .key = "LiveConversion",
            .number = [](ProgramOptions& o) -> int32_t& { return o.liveConversion; },
            .readAs = settings::onOrOff<ProgramOptions>},
        Row{.section = "設定",
            .key = "Highlight",
            .number = [](ProgramOptions& o) -> int32_t& { return o.highlight; },
            .readAs = settings::onOrOff<ProgramOptions>},
    };
    return rows;
}

} // namespace sorvanti
