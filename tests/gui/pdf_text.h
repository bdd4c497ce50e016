#pragma once

// The text of a PDF file as pdftotext (poppler-utils) extracts it, in
// content order and without white space: a clue wrapped over several lines
// or a grid row of single letters reads as one run.

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>

#include <filesystem>
#include <optional>

namespace korvo::guitest {

// nullopt when pdftotext is not installed; an empty text when it fails.
inline std::optional<QString> PdfTextWithoutSpaces(const std::filesystem::path& pdf) {
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty()) return std::nullopt;
    QProcess process;
    process.start(pdftotext, {QStringLiteral("-raw"), QString::fromStdString(pdf.string()), QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput()).remove(QRegularExpression(QStringLiteral("\\s+")));
}

// needle without its white space, as PdfTextWithoutSpaces gives it.
inline QString WithoutSpaces(const QString& needle) {
    return QString(needle).remove(QRegularExpression(QStringLiteral("\\s+")));
}

}  // namespace korvo::guitest
