#include "GridClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "Conversions.h"
#include "FlexGridModel.h"
#include "QtGlue.h"

namespace controls {

namespace {

std::string htmlEscaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace

namespace GridClipboard {

std::string Cell(std::string_view text) {
    const bool quote = text.find_first_of("\t\r\n") != std::string_view::npos ||
                       (!text.empty() && text.front() == '"');
    if (!quote) return std::string(text);
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

std::string Text(const FlexGridModel& model, CellBlock b) {
    std::string out;
    for (long long r = b.r1; r <= b.r2; ++r) {
        for (int c = b.c1; c <= b.c2; ++c) {
            if (c > b.c1) out += '\t';
            out += Cell(model.cell(r, c));
        }
        out += '\n';
    }
    return out;
}

std::string AllText(const FlexGridModel& model) {
    std::string out;
    for (long long r = 0; r < model.rows(); ++r) {
        for (int c = 0; c < model.cols(); ++c) out += Cell(model.cell(r, c)) + '\t';
        out += '\n';
    }
    return out;
}

std::string Html(const FlexGridModel& model, CellBlock b) {
    std::string out = "<table>\n";
    for (long long r = b.r1; r <= b.r2; ++r) {
        out += "<tr>";
        for (int c = b.c1; c <= b.c2; ++c) out += "<td>" + htmlEscaped(model.cell(r, c)) + "</td>";
        out += "</tr>\n";
    }
    return out + "</table>\n";
}

std::string Csv(const FlexGridModel& model) {
    std::string out;
    auto line = [&](long long r) {
        for (int c = 0; c < model.cols(); ++c) {
            if (c) out += ',';
            out += platform::CsvField(model.cell(r, c));
        }
        out += "\r\n";
    };
    for (long long r = 0; r < model.headerRows(); ++r) line(r);
    for (long long r = model.firstDataRow(); r < model.rows(); ++r) line(r);
    return out;
}

void Put(const std::string& text, const std::string& html) {
    if (!QGuiApplication::instance()) return;
    auto* data = new QMimeData;
    data->setText(qt::q(text));
    data->setHtml(qt::q(html));
    QGuiApplication::clipboard()->setMimeData(data);
}

}  // namespace GridClipboard

}  // namespace controls
