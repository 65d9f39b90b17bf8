#pragma once

#include <QColor>
#include <QProxyStyle>

class QPalette;

// WCAG's contrast ratio of two colours, from 1 to 21.
double contrastRatio(const QColor &a, const QColor &b);

// The platform's style, drawn so that it reads under any palette, light, dark or high
// contrast: the boundary of every check box, option button, push button, entry box, list and
// progress bar at least 3:1 against what surrounds it (Fusion draws them barely darker than a
// dark background), every control with the keyboard's focus ringed 3:1 against what
// surrounds the ring (Fusion's focus is a faint tint, or the edge's colour, which the boundary
// covers), and a selected row's or menu entry's text at least 4.5:1 on its highlight.
class ReadableStyle : public QProxyStyle
{
    Q_OBJECT

public:
    using QProxyStyle::QProxyStyle;

    // A colour between the palette's background and its text that stands 3:1 against both
    // its window and its entry background.
    static QColor boundaryColour(const QPalette &palette);
    // A colour between a list's rows and their text that stands 3:1 against both kinds of
    // row, plain and alternate.
    static QColor rowBoundaryColour(const QPalette &palette);
    // The highlight, darkened or lightened as far as it needs to stand 3:1 against a button's
    // face and the window around it.
    static QColor focusColour(const QPalette &palette);
    // The highlight, darkened or lightened as far as it needs to stand 3:1 against `surface`
    // and the window around it.
    static QColor focusColourOn(const QPalette &palette, const QColor &surface);
    // `palette` with its highlights darkened or lightened as far as their text needs.
    static QPalette withReadableHighlights(QPalette palette);

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                            QPainter *painter, const QWidget *widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;
    void polish(QWidget *widget) override;
    using QProxyStyle::polish;
    void unpolish(QWidget *widget) override;
    using QProxyStyle::unpolish;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
