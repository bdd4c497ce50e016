#include "appearance_pickers.h"

#include <QColorDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QGridLayout>
#include <QLayoutItem>
#include <QString>

#include <algorithm>
#include <string>

namespace {

// Point size the font picker shows its sample at.
constexpr int kPickerPointSize = 12;

QString FaceOf(const korvo::LOGFONTW& font) {
    const std::u16string face = korvo::FaceName(font);
    return QString::fromUtf16(face.data(), static_cast<qsizetype>(face.size()));
}

QFont StyledFont(const korvo::LOGFONTW& font) {
    QFont result;
    const QString face = FaceOf(font);
    if (!face.isEmpty()) result.setFamily(face);
    const int weight = font.lfWeight <= 0 ? 400 : std::clamp(static_cast<int>(font.lfWeight), 1, 1000);
    result.setWeight(static_cast<QFont::Weight>(weight));
    result.setItalic(font.lfItalic != 0);
    result.setUnderline(font.lfUnderline != 0);
    result.setStrikeOut(font.lfStrikeOut != 0);
    result.setPointSize(kPickerPointSize);
    return result;
}

// The sizes are computed at every paint, so the font dialog offers none: its
// size column (the label, the edit field and the list) is hidden. Qt's
// dialog lays family, style and size out as the columns of one grid, the
// size column last.
void HideSizeColumn(QFontDialog& dialog) {
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    if (grid == nullptr) return;
    int sizeColumn = -1;
    for (int column = grid->columnCount() - 1; column >= 0 && sizeColumn < 0; --column) {
        for (int row = 0; row < 3; ++row) {
            if (QLayoutItem* item = grid->itemAtPosition(row, column); item != nullptr && item->widget() != nullptr) {
                sizeColumn = column;
                break;
            }
        }
    }
    // The family column is never hidden, even in a grid laid out otherwise.
    if (sizeColumn <= 0) return;
    for (int row = 0; row < 3; ++row) {
        if (QLayoutItem* item = grid->itemAtPosition(row, sizeColumn); item != nullptr && item->widget() != nullptr)
            item->widget()->hide();
    }
}

}  // namespace

QColor ColorFromRef(korvo::COLORREF color) {
    return QColor(korvo::RedOf(color), korvo::GreenOf(color), korvo::BlueOf(color));
}

korvo::COLORREF ColorRefFromQColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    return korvo::MakeColorRef(static_cast<std::uint8_t>(rgb.red()), static_cast<std::uint8_t>(rgb.green()),
                               static_cast<std::uint8_t>(rgb.blue()));
}

QString ResolvedFamily(const korvo::LOGFONTW& font) { return QFontInfo(StyledFont(font)).family(); }

QFont PickerFont(const korvo::LOGFONTW& font) {
    QFont result = StyledFont(font);
    result.setFamily(ResolvedFamily(font));
    return result;
}

korvo::LOGFONTW LogFontFromPicked(const QFont& picked, const korvo::LOGFONTW& base) {
    korvo::LOGFONTW out = base;
    const QString family = picked.family();
    if (family != ResolvedFamily(base) || korvo::FaceName(base).empty())
        korvo::SetFaceName(out, std::u16string_view(reinterpret_cast<const char16_t*>(family.utf16()),
                                                    static_cast<std::size_t>(family.size())));
    out.lfWeight = static_cast<std::int32_t>(picked.weight());
    out.lfItalic = picked.italic() ? 1 : 0;
    out.lfUnderline = picked.underline() ? 1 : 0;
    out.lfStrikeOut = picked.strikeOut() ? 1 : 0;
    return out;
}

std::optional<korvo::COLORREF> PickColor(QWidget* parent, korvo::COLORREF current) {
    QColorDialog dialog(ColorFromRef(current), parent);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return ColorRefFromQColor(dialog.selectedColor());
}

std::optional<korvo::LOGFONTW> PickFont(QWidget* parent, const korvo::LOGFONTW& current, bool scalableOnly) {
    QFontDialog dialog(PickerFont(current), parent);
    QFontDialog::FontDialogOptions options = QFontDialog::DontUseNativeDialog;
    if (scalableOnly) options |= QFontDialog::ScalableFonts;
    dialog.setOptions(options);
    // setOptions may rebuild the family list: select the current font again.
    dialog.setCurrentFont(PickerFont(current));
    HideSizeColumn(dialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return LogFontFromPicked(dialog.selectedFont(), current);
}
