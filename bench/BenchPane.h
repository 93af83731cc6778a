#pragma once

// The large pane of the pane benchmarks: 50,000 lines of about 25 characters, unwrapped, in a
// shown 640 × 480 edit. Made at the first call and kept; release() of the offscreen main
// destroys it (paneHolder().reset()) before the application goes.

#include <QString>
#include <QTextEdit>

#include <memory>

namespace sorvanti::bench {

constexpr int kPaneLines = 50000;

inline std::unique_ptr<QTextEdit>& paneHolder() {
    static std::unique_ptr<QTextEdit> pane;
    return pane;
}

// The pane with its text set anew.
inline QTextEdit& freshPane() {
    std::unique_ptr<QTextEdit>& pane = paneHolder();
    if (!pane) {
        pane = std::make_unique<QTextEdit>();
        pane->setLineWrapMode(QTextEdit::NoWrap);
        pane->resize(640, 480);
        pane->show();
    }
    QString text;
    for (int i = 0; i < kPaneLines; ++i)
        text += QStringLiteral("%1行目 ありがとう、とても助かりました abc\n").arg(i);
    pane->setPlainText(text);
    return *pane;
}

} // namespace sorvanti::bench
