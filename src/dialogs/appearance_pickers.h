#pragma once

#include <QColor>
#include <QFont>

#include <optional>

#include "platform/win_types.h"

class QWidget;

// The colour and font pickers of the appearance commands: Qt's standard
// dialogs, opened on the current value and answering in the document's
// colour and font descriptions.

// Conversions between 0x00BBGGRR colours and QColor.
QColor ColorFromRef(korvo::COLORREF color);
korvo::COLORREF ColorRefFromQColor(const QColor& color);

// The family a font description is actually drawn with (an "Arial"
// description may be drawn with a metric-compatible family).
QString ResolvedFamily(const korvo::LOGFONTW& font);

// The font a picker opens on: the resolved family and the description's
// style, at a readable size (the size is not the user's choice).
QFont PickerFont(const korvo::LOGFONTW& font);

// The description of a picked font: face, weight, italic, underline and
// strike-out from picked, every other field from base. A picked family
// equal to the one base resolves to keeps base's face name, so OK without
// a change changes nothing.
korvo::LOGFONTW LogFontFromPicked(const QFont& picked, const korvo::LOGFONTW& base);

// The colour dialog on current; the colour chosen, or nullopt on Cancel.
std::optional<korvo::COLORREF> PickColor(QWidget* parent, korvo::COLORREF current);

// The font dialog on current, limited to scalable fonts when scalableOnly
// is set (the clue font); the description chosen (its size is ignored by
// the caller), or nullopt on Cancel.
std::optional<korvo::LOGFONTW> PickFont(QWidget* parent, const korvo::LOGFONTW& current, bool scalableOnly);
