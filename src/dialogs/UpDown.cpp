#include "dialogs/UpDown.h"

#include <algorithm>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

#include "platform/WholeNumber.h"

namespace {

constexpr int kWidth = 17;

std::optional<int32_t> NumberIn(const QLineEdit& edit) {
    return ParseWholeNumber(edit.text().toStdString());
}

} // namespace

TUpDown::TUpDown(QLineEdit& associate, int32_t min, int32_t max, int32_t increment)
    : QWidget(associate.parentWidget()), Associate(associate), MinValue(min), MaxValue(max),
      Step(increment), Position(std::clamp(NumberIn(associate).value_or(min), min, max)) {
    const QRect field = associate.geometry();
    setGeometry(field.right() + 1, field.top(), kWidth, field.height());
    UpButton = new QToolButton(this);
    DownButton = new QToolButton(this);
    const int half = field.height() / 2;
    UpButton->setGeometry(0, 0, kWidth, half);
    DownButton->setGeometry(0, half, kWidth, field.height() - half);
    UpButton->setArrowType(Qt::UpArrow);
    DownButton->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {UpButton, DownButton}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
    }
    connect(UpButton, &QToolButton::clicked, this, [this] { Click(+1); });
    connect(DownButton, &QToolButton::clicked, this, [this] { Click(-1); });
    setEnabled(associate.isEnabled());
    associate.installEventFilter(this);
}

void TUpDown::Click(int direction) {
    const int64_t from = NumberIn(Associate).value_or(Position);
    Position = static_cast<int32_t>(
        std::clamp<int64_t>(from + int64_t{direction} * Step, MinValue, MaxValue));
    Associate.setText(QString::number(Position));
}

bool TUpDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &Associate) {
        if (event->type() == QEvent::EnabledChange) {
            setEnabled(Associate.isEnabled());
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Up || key == Qt::Key_Down) {
                Click(key == Qt::Key_Up ? +1 : -1);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}
