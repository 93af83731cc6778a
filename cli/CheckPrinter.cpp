#include "cli/CheckPrinter.h"

#include "conversion/DictionaryLoader.h"

namespace sorvanti {

int printCheckReport(const CheckReport& report, std::string_view fileName, std::ostream& out) {
    for (const CheckFinding& f : report.findings)
        out << fileName << ':' << f.line << ": " << f.message << '\n';
    const int64_t left = report.findingCount - int64_t(report.findings.size());
    if (left > 0)
        out << fileName << ": 指摘が多いため、ほかの " << left << " 件は示しません\n";
    out << fileName << ": " << (report.encoding == textencoding::Encoding::Utf8 ? "UTF-8" : "CP932")
        << (report.wordRules ? "、単語単位" : "") << "、" << report.table->count() << " 項目、指摘 "
        << report.findingCount << " 件 (使われない・失われる対 " << report.lostCount << " 件)";
    if (report.sizeLimitReached)
        out << "、先頭の " << (kMaxDictionaryBytes >> 20) << " MB だけを調べました";
    out << '\n';
    return report.anyLost() ? 1 : 0;
}

} // namespace sorvanti
