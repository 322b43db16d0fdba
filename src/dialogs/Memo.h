// A multi-line text field that hands its text over as items hold it: code page 1250 bytes
// with lines separated by CR LF. Lines are not wrapped, so they show as they will print;
// Tab moves on to the next control.
#pragma once

#include <cstdint>
#include <QPlainTextEdit>
#include <string>
#include <string_view>

class TMemo : public QPlainTextEdit {
public:
    explicit TMemo(QWidget* parent = nullptr);

    std::string Text() const;
    void SetText(std::string_view cp1250);
    // The number of lines; a line break at the very end starts none, an empty memo has 0.
    int32_t LineCount() const;
};
