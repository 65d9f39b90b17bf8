#include "ReadableStyle.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QPainter>
#include <QPalette>
#include <QStyleOption>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {
constexpr double kBoundaryContrast = 3.0;
// Fusion tints the focused row a shade lighter than its highlight: room for that.
constexpr double kHighlightContrast = 5.0;
// Fusion paints a dark button's face up to a quarter lighter than its palette colour: room
// for that, so the focus ring stands 3:1 against the face as drawn.
constexpr double kFocusContrast = 4.0;

double luminance(const QColor &colour)
{
    const auto channel = [](double value) {
        return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

QColor mixed(const QColor &from, const QColor &to, double share)
{
    return QColor::fromRgbF(float(from.redF() + (to.redF() - from.redF()) * share),
                            float(from.greenF() + (to.greenF() - from.greenF()) * share),
                            float(from.blueF() + (to.blueF() - from.blueF()) * share));
}

// `colour` made lighter or darker, away from `other`, until `reads` says it does.
template <typename Reads>
QColor movedAwayFrom(const QColor &other, const QColor &colour, Reads reads)
{
    const QColor away = luminance(other) > 0.18 ? QColor(Qt::black) : QColor(Qt::white);
    for (int percent = 0; percent < 100; percent += 5) {
        const QColor candidate = mixed(colour, away, percent / 100.0);
        if (reads(candidate))
            return candidate;
    }
    return away;
}

// `background` made lighter or darker, away from `text`, as far as `text` needs to read on it.
QColor readableBehind(const QColor &text, const QColor &background)
{
    return movedAwayFrom(text, background, [&](const QColor &candidate) {
        return contrastRatio(text, candidate) >= kHighlightContrast;
    });
}

// Draws `shape` in `colour` over what the platform's style drew.
template <typename Shape> void outline(QPainter *painter, const QColor &colour, Shape shape)
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(colour, 1));
    shape();
    painter->restore();
}

// Draws `shape` with the boundary colour over what the platform's style drew.
template <typename Shape> void outline(QPainter *painter, const QPalette &palette, Shape shape)
{
    outline(painter, ReadableStyle::boundaryColour(palette), shape);
}
// A ring `width` pixels wide just inside `rect`, square, as a focus ring reads best.
void ring(QPainter *painter, const QRect &rect, const QColor &colour, int width)
{
    if (rect.width() <= 2 * width || rect.height() <= 2 * width)
        return;
    painter->fillRect(QRect(rect.left(), rect.top(), rect.width(), width), colour);
    painter->fillRect(QRect(rect.left(), rect.bottom() - width + 1, rect.width(), width), colour);
    painter->fillRect(QRect(rect.left(), rect.top(), width, rect.height()), colour);
    painter->fillRect(QRect(rect.right() - width + 1, rect.top(), width, rect.height()), colour);
}

// Draws with a copy of `option` whose highlights read, when it is an `Option`.
template <typename Option, typename Draw>
bool withReadableHighlight(const QStyleOption *option, Draw draw)
{
    const auto *typed = qstyleoption_cast<const Option *>(option);
    if (typed == nullptr)
        return false;
    Option readable(*typed);
    readable.palette = ReadableStyle::withReadableHighlights(readable.palette);
    draw(&readable);
    return true;
}
} // namespace

double contrastRatio(const QColor &a, const QColor &b)
{
    const double first = luminance(a), second = luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

namespace {
// The first mix of `background` towards `text` that stands out from both backgrounds: half
// way to the text at least, so the boundary stays quieter than the text it frames.
QColor boundaryBetween(const QColor &background, const QColor &otherBackground, const QColor &text)
{
    for (int percent = 50; percent < 100; percent += 5) {
        const QColor candidate = mixed(background, text, percent / 100.0);
        if (contrastRatio(candidate, background) >= kBoundaryContrast &&
            contrastRatio(candidate, otherBackground) >= kBoundaryContrast)
            return candidate;
    }
    return text;
}
} // namespace

QColor ReadableStyle::boundaryColour(const QPalette &palette)
{
    return boundaryBetween(palette.color(QPalette::Window), palette.color(QPalette::Base),
                           palette.color(QPalette::WindowText));
}

QColor ReadableStyle::rowBoundaryColour(const QPalette &palette)
{
    return boundaryBetween(palette.color(QPalette::Base), palette.color(QPalette::AlternateBase),
                           palette.color(QPalette::Text));
}

QColor ReadableStyle::focusColour(const QPalette &palette)
{
    const QColor face = palette.color(QPalette::Button);
    const QColor window = palette.color(QPalette::Window);
    return movedAwayFrom(face, palette.color(QPalette::Highlight), [&](const QColor &candidate) {
        return contrastRatio(candidate, face) >= kFocusContrast &&
               contrastRatio(candidate, window) >= kBoundaryContrast;
    });
}

QColor ReadableStyle::focusColourOn(const QPalette &palette, const QColor &surface)
{
    const QColor window = palette.color(QPalette::Window);
    return movedAwayFrom(surface, palette.color(QPalette::Highlight), [&](const QColor &candidate) {
        return contrastRatio(candidate, surface) >= kBoundaryContrast &&
               contrastRatio(candidate, window) >= kBoundaryContrast;
    });
}

QPalette ReadableStyle::withReadableHighlights(QPalette palette)
{
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight,
                         readableBehind(palette.color(group, QPalette::HighlightedText),
                                        palette.color(group, QPalette::Highlight)));
    }
    return palette;
}

void ReadableStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                                  QPainter *painter, const QWidget *widget) const
{
    const auto draw = [&](const QStyleOption *readable) {
        QProxyStyle::drawPrimitive(element, readable, painter, widget);
    };
    if ((element == PE_PanelItemViewItem || element == PE_PanelItemViewRow) &&
        withReadableHighlight<QStyleOptionViewItem>(option, draw))
        return;
    if (element == PE_FrameFocusRect) {
        // Fusion's is a faint tint of the highlight; shown, as Fusion's, once the keyboard
        // has moved the focus.
        if (option->state & State_KeyboardFocusChange) {
            const auto *focus = qstyleoption_cast<const QStyleOptionFocusRect *>(option);
            const QColor surface = focus != nullptr && focus->backgroundColor.isValid()
                                       ? focus->backgroundColor
                                       : option->palette.color(QPalette::Window);
            ring(painter, option->rect, focusColourOn(option->palette, surface), 2);
        }
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    const QRect box = option->rect.adjusted(0, 0, -1, -1);
    switch (element) {
    case PE_IndicatorItemViewItemCheck:
        // Drawn over the window's boundary the check box got: it stands on a row, not on the
        // window, whose colours may be far from the rows' (a white window, dark rows).
        outline(painter, rowBoundaryColour(option->palette), [&] { painter->drawRect(box); });
        break;
    case PE_IndicatorCheckBox:
        outline(painter, option->palette, [&] { painter->drawRect(box); });
        break;
    case PE_FrameLineEdit:
    case PE_Frame:
        // An entry box or a list with the focus is ringed; the ring is its boundary then.
        if ((option->state & State_HasFocus) && (option->state & State_Enabled)) {
            ring(painter, option->rect,
                 focusColourOn(option->palette, option->palette.color(QPalette::Base)), 2);
        } else {
            outline(painter, option->palette, [&] { painter->drawRect(box); });
        }
        break;
    case PE_IndicatorRadioButton:
        outline(painter, option->palette, [&] {
            painter->setRenderHint(QPainter::Antialiasing, true);
            painter->drawEllipse(QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5));
        });
        break;
    case PE_PanelButtonCommand:
        outline(painter, option->palette, [&] {
            painter->setRenderHint(QPainter::Antialiasing, true);
            painter->drawRoundedRect(QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
        });
        // Fusion shows a button's focus only after the keyboard has moved it; so does this:
        // a ring two pixels wide just inside the boundary, on the face.
        if ((option->state & State_HasFocus) && (option->state & State_KeyboardFocusChange)) {
            painter->save();
            painter->setRenderHint(QPainter::Antialiasing, false);
            painter->setBrush(Qt::NoBrush);
            painter->setPen(QPen(focusColour(option->palette), 2));
            painter->drawRect(QRectF(option->rect).adjusted(2, 2, -2, -2));
            painter->restore();
        }
        break;
    default:
        break;
    }
}

void ReadableStyle::drawControl(ControlElement element, const QStyleOption *option,
                                QPainter *painter, const QWidget *widget) const
{
    const auto draw = [&](const QStyleOption *readable) {
        QProxyStyle::drawControl(element, readable, painter, widget);
    };
    if ((element == CE_ItemViewItem || element == CE_MenuItem) &&
        (withReadableHighlight<QStyleOptionViewItem>(option, draw) ||
         withReadableHighlight<QStyleOptionMenuItem>(option, draw)))
        return;
    draw(option);
    if (element == CE_ProgressBarGroove) {
        outline(painter, option->palette,
                [&] { painter->drawRect(option->rect.adjusted(0, 0, -1, -1)); });
    }
}

void ReadableStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                                       QPainter *painter, const QWidget *widget) const
{
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    // Fusion rings a focused combo or spin box in its highlight, faint on a dark window.
    if ((control == CC_ComboBox || control == CC_SpinBox) && (option->state & State_HasFocus) &&
        (option->state & State_Enabled)) {
        const QPalette &palette = option->palette;
        const QColor face =
            palette.color(control == CC_SpinBox ? QPalette::Base : QPalette::Button);
        ring(painter, option->rect, focusColourOn(palette, face), 2);
    }
}

int ReadableStyle::pixelMetric(PixelMetric metric, const QStyleOption *option,
                               const QWidget *widget) const
{
    // A list's frame two pixels wide: its rows would cover the inner half of its focus ring.
    if (metric == PM_DefaultFrameWidth && qobject_cast<const QAbstractScrollArea *>(widget))
        return std::max(2, QProxyStyle::pixelMetric(metric, option, widget));
    return QProxyStyle::pixelMetric(metric, option, widget);
}

void ReadableStyle::polish(QWidget *widget)
{
    QProxyStyle::polish(widget);
    if (qobject_cast<QAbstractScrollArea *>(widget) != nullptr)
        widget->installEventFilter(this);
}

void ReadableStyle::unpolish(QWidget *widget)
{
    if (qobject_cast<QAbstractScrollArea *>(widget) != nullptr)
        widget->removeEventFilter(this);
    QProxyStyle::unpolish(widget);
}

bool ReadableStyle::eventFilter(QObject *watched, QEvent *event)
{
    // A list's frame shows its focus: drawn again when the focus comes or goes.
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        if (auto *widget = qobject_cast<QWidget *>(watched))
            widget->update();
    }
    return QProxyStyle::eventFilter(watched, event);
}
