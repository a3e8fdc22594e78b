// The questions asked before a doubtful result is stored: a number written another way, a
// limit typed as text, a replicate's comment, a value outside the parameter's usual range.
#include "EntryReview.h"

#include <algorithm>
#include <cctype>
#include <regex>

#include "Conversions.h"
#include "Database.h"
#include "Lookups.h"
#include "Plots.h"
#include "RowStream.h"
#include "Tables.h"

namespace store {

namespace {

std::string without(std::string text, char c) {
    text.erase(std::remove(text.begin(), text.end(), c), text.end());
    return text;
}

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

std::string numberText(double v) { return platform::NumberToEditText(v); }

// "Yes: ... No: ... Cancel: store nothing." under the question.
std::string choices(const std::string& yes, const std::string& typed) {
    return "\n\nYes: store " + yes + ".\nNo: store the text " + quoted(typed) +
           " as typed.\nCancel: store nothing.";
}

}  // namespace

std::optional<double> NumberWrittenOtherwise(const std::string& value) {
    std::string s = platform::Trim(value);
    if (platform::IsNumeric(s)) return s.back() == '.' ? platform::ParseNumber(s) : std::nullopt;
    // A unit after the number: "12 mg/L", "7.5SU", "20 °C".
    const auto unit = std::find_if(s.begin(), s.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return std::isalpha(u) || c == '%' || c == '/' || u >= 0x80;
    });
    if (unit != s.begin() && unit != s.end() && std::isdigit(static_cast<unsigned char>(s[0])))
        s = platform::Trim(std::string(s.begin(), unit));
    if (auto plain = platform::ParseNumber(s)) return plain;
    static const std::regex thousands(
        R"([-+]?[1-9][0-9]{0,2}(,[0-9]{3})+(\.[0-9]+)?|[-+]?[1-9][0-9]{0,2}( [0-9]{3})+(\.[0-9]+)?)");
    if (std::regex_match(s, thousands)) return platform::ParseNumber(without(without(s, ','), ' '));
    static const std::regex decimalComma(R"([-+]?[0-9]+,[0-9]+)");
    if (std::regex_match(s, decimalComma)) {
        std::replace(s.begin(), s.end(), ',', '.');
        return platform::ParseNumber(s);
    }
    return std::nullopt;
}

std::optional<LimitValue> LimitWrittenAsText(const std::string& value,
                                             const std::set<std::string>& remarks) {
    const std::string s = platform::Trim(value);
    if (s.empty() || (s[0] != '<' && s[0] != '>') || !remarks.count(s.substr(0, 1)))
        return std::nullopt;
    auto number = platform::ParseNumber(s.substr(1));
    if (!number) number = NumberWrittenOtherwise(s.substr(1));
    if (!number) return std::nullopt;
    return LimitValue{*number, s.substr(0, 1)};
}

std::optional<Result> EntryReview::Review(Result entry, const Ask& ask) {
    const std::string typed = platform::Trim(entry.value);
    std::set<std::string> remarks;
    for (const auto& remark : Lookups(db_).Remarks()) remarks.insert(remark.code);
    const auto limit = LimitWrittenAsText(typed, remarks);
    const auto number = limit ? std::nullopt : NumberWrittenOtherwise(typed);
    if ((limit && (!entry.remarkCode || *entry.remarkCode == limit->remark)) || number) {
        const std::string asNumber = numberText(limit ? limit->number : *number);
        const std::string question =
            limit ? quoted(typed) + " reads as " + asNumber + " with the remark " +
                        quoted(limit->remark) + "." +
                        choices(asNumber + " with the remark " + quoted(limit->remark), typed)
                  : quoted(typed) + " reads as the number " + asNumber + "." +
                        choices("the number " + asNumber, typed);
        const Answer answer = ask(question, Choices::YesNoCancel);
        if (answer == Answer::Cancel) return std::nullopt;
        const bool replicate = entry.kind == ResultKind::Replicate;
        if (answer == Answer::Yes) {
            entry.value = asNumber;
            if (limit) entry.remarkCode = limit->remark;
        }
        if (!replicate) entry.kind = answer == Answer::Yes ? ResultKind::Numeric : ResultKind::Text;
    }
    if (entry.kind == ResultKind::Replicate && !platform::Trim(entry.comment).empty()) {
        if (ask("A replicate keeps no comment: the comment " + quoted(entry.comment) +
                    " will not be stored.\n\nStore the replicate without it?",
                Choices::OkCancel) == Answer::Cancel)
            return std::nullopt;
        entry.comment.clear();
    }
    const auto value = platform::ParseNumber(entry.value);
    if (!value || entry.kind == ResultKind::Text || !platform::IsWholeNumber(entry.parameterCode))
        return entry;
    const auto range = RangeOf(entry.parameterCode);
    if (!range || (*value >= range->low && *value <= range->high)) return entry;
    const std::string name = Plots(db_).ParameterName(entry.parameterCode);
    if (ask("The value " + numberText(*value) + " is outside the expected range of " + name + ", " +
                numberText(range->low) + " to " + numberText(range->high) + " (" + range->source +
                ").\n\nStore it anyway?",
            Choices::OkCancel) == Answer::Cancel)
        return std::nullopt;
    return entry;
}

std::optional<ExpectedRange> EntryReview::RangeOf(const std::string& parameter) {
    if (auto limits = Plots(db_).Range(parameter))
        return ExpectedRange{limits->low, limits->high, "from the table of parameter limits"};
    const auto code = platform::WholeNumberOf(parameter);
    if (!code) return std::nullopt;
    platform::RowStream stream(db_,
                               std::string("select count(result_value), min(result_value), "
                                           "max(result_value) from ") +
                                   table::Results + " where parameter_code = ?",
                               {*code});
    std::string count, low, high;
    if (stream.Next()) {
        stream.AppendText(0, count);
        stream.AppendText(1, low);
        stream.AppendText(2, high);
    }
    const auto n = platform::ParseNumber(count);
    const auto l = platform::ParseNumber(low), h = platform::ParseNumber(high);
    if (!n || *n < kResultsForRange || !l || !h) return std::nullopt;
    return ExpectedRange{*l, *h,
                         "the lowest and highest of its " + count + " stored numeric results"};
}

}  // namespace store
