#include "dialogs/Memo.h"

#include "platform/qt/QtText.h"
#include "platform/TextLines.h"

TMemo::TMemo(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
}

std::string TMemo::Text() const {
    return ToCp1250(toPlainText().replace(QChar('\n'), QStringLiteral("\r\n")));
}

void TMemo::SetText(std::string_view cp1250) {
    QStringList lines;
    for (std::string_view line : SplitTextLines(cp1250)) lines << FromCp1250(line);
    setPlainText(lines.join(QChar('\n')));
}

int32_t TMemo::LineCount() const {
    const std::string text = Text();
    if (text.empty()) return 0;
    const auto lines = static_cast<int32_t>(SplitTextLines(text).size());
    const char last = text.back();
    return last == '\n' || last == '\r' ? lines - 1 : lines;
}
