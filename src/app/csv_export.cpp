#include "app/csv_export.h"

#include <filesystem>

#include "engine/list_cells.h"
#include "engine/status_marks.h"
#include "platform/date_format.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/locale.h"
#include "platform/sounds.h"
#include "platform/text.h"
#include "platform/ui.h"
#include "program/alerts.h"
#include "program/ids.h"

namespace corvane {

namespace {

std::string StatusWord(std::string cell) {
    cell = ReplaceAll(cell, ThreatMark, "THREAT");
    cell = ReplaceAll(cell, SuspiciousMark, "SUSPICIOUS");
    return ReplaceAll(cell, OkMark, "OK");
}

std::string CsvLine(const platform::ListRow& row) {
    std::string line;
    for (size_t column = 0; column < row.cells.size(); ++column) {
        if (column > 0) line += ',';
        line += QuoteCsvField(column == kStatusCell ? StatusWord(row.cells[column]) : row.cells[column]);
    }
    return line + "\r\n";
}

// The whole file: byte-order mark, header, one line per row of the list.
std::string CsvText() {
    auto& ui = platform::TheUi();
    std::string text = "\xEF\xBB\xBF";
    text +=
        "File Name,Checksum (" + ui.SelectedItemText(kAlgorithmPopup) + "),File Size,File Date,Status\r\n";
    for (size_t i = 0; i < ui.RowCount(kChecksumList); ++i) {
        if (auto row = ui.Row(kChecksumList, i)) text += CsvLine(*row);
    }
    return text;
}

bool FolderCanBeListed(const std::string& folder) {
    std::error_code error;
    std::filesystem::directory_iterator listing(folder, error);
    return !error;
}

// Writes the export into the folder; false when the file cannot be created or written.
bool WriteExport(const std::string& directory, const std::string& name) {
    if (!FolderCanBeListed(directory.empty() ? "." : directory)) {
        ShowErrorAlert("Could not create the export file!\n");
        return false;
    }
    // A name that cleaned to nothing cannot be created; a partly written file never replaces an existing one.
    if (name.empty() || name == "." || name == ".." ||
        !platform::WriteFileAtomically(directory + name, CsvText(), 0666)) {
        ShowErrorAlert("Could not create the export file!\n");
        return false;
    }
    return true;
}

}  // namespace

std::string QuoteCsvField(const std::string& cell) {
    std::string field = "\"";
    for (char c : cell) {
        if (c == '\t' || c == '\n' || c == '\r') {
            field += ' ';
        } else if (c == '"') {
            field += "\"\"";
        } else {
            field += c;
        }
    }
    return field + "\"";
}

std::string ExportDateText(std::time_t when, const std::string& localeIdentifier) {
    bool monthFirst = localeIdentifier == "en_US" || localeIdentifier == "en_CA";
    return platform::FormatLocalDate(when, monthFirst ? "MM-dd-yyyy-hmmss" : "dd-MM-yyyyhmmss",
                                     localeIdentifier);
}

std::string ExportDateText() {
    return ExportDateText(std::time(nullptr), platform::LocaleIdentifier());
}

std::string CleanExportFileName(const std::string& name) {
    std::string cleaned;
    for (char c : TrimBlanks(name)) {
        switch (c) {
            case '/':
            case '\\':
                cleaned += '_';
                break;
            case ':':
                cleaned += '-';
                break;
            case '\t':
                cleaned += ' ';
                break;
            case '*':
            case '?':
            case '"':
            case '<':
            case '>':
            case '|':
            case '\r':
            case '\n':
                break;
            default:
                cleaned += c;
        }
    }
    return cleaned;
}

void ExportChecksums() {
    std::string chosen =
        platform::Dialogs().RunSavePanel("Save Export File", ExportDateText() + "_Corvane_Export.csv");
    if (chosen.empty()) {
        ShowErrorAlert("The selected directory path is invalid or inaccessible.\n");
    } else {
        size_t slash = chosen.rfind('/');
        std::string directory = slash == std::string::npos ? "" : chosen.substr(0, slash + 1);
        std::string name = CleanExportFileName(chosen.substr(directory.size()));
        if (WriteExport(directory, name)) platform::Sounds().PlaySystemSound(platform::kCompletionSound);
    }
    platform::TheUi().MakeKeyAndFront(kMainWindow);
}

}  // namespace corvane
