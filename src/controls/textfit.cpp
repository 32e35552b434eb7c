#include "textfit.h"

#include "classicframe.h"
#include "valuelabel.h"

#include <QApplication>
#include <QStyle>

namespace Quorvath {

UiFont::Text fitOf(const DesignedText &designed, Twips::Scale twips)
{
    const QStyle *style = QApplication::style();
    // A text box's sunken border and its document's one-pixel margin.
    const int textChrome = 2 * (style->pixelMetric(QStyle::PM_DefaultFrameWidth) + 1);
    const QSize size = designed.rect.size();
    switch (designed.control) {
    case TextControl::Label:
        return {designed.text, size, UiFont::Fit::Wrapped};
    case TextControl::FieldCaption:
        return {designed.text, size - QSize(0, ValueLabel::TextTop), UiFont::Fit::Wrapped};
    case TextControl::Value:
        // Descenders and all.
        return {designed.text, size - QSize(ValueLabel::TextLeft + 1, ValueLabel::TextTop + 1), UiFont::Fit::Wrapped};
    case TextControl::TabCaption:
        return {designed.text, size, UiFont::Fit::OneLine};
    case TextControl::Button:
        return {designed.text, size - 2 * QSize(style->pixelMetric(QStyle::PM_ButtonMargin), 2),
                UiFont::Fit::OneLine};
    case TextControl::FrameCaption:
        return {designed.text, QSize(size.width() - 2 * ClassicFrame::CaptionInset, twips.px(240)),
                UiFont::Fit::OneLine};
    case TextControl::TextBox:
        return {designed.text, size - QSize(textChrome, textChrome), UiFont::Fit::LinesAndHeight};
    case TextControl::ScrolledTextBox:
        return {designed.text, size - QSize(textChrome + style->pixelMetric(QStyle::PM_ScrollBarExtent), 0),
                UiFont::Fit::Lines};
    }
    return {designed.text, size, UiFont::Fit::Wrapped};
}

std::vector<UiFont::Text> fitsOf(const std::vector<DesignedText> &designed, Twips::Scale twips)
{
    std::vector<UiFont::Text> texts;
    texts.reserve(designed.size());
    for (const DesignedText &d : designed)
        texts.push_back(fitOf(d, twips));
    return texts;
}

} // namespace Quorvath
