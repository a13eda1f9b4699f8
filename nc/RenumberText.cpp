#include "nc/RenumberText.h"

#include "nc/NcNumber.h"
#include "nc/NcText.h"

#include <climits>

using namespace ncinternal;

namespace {

// Where the line starts once its old block number and the blank after it are gone.
std::size_t AfterOldNumber(std::string_view line)
{
    std::size_t i = 0;
    if (line[0] == 'N') {
        std::size_t j = 1;
        while (j < line.size() && line[j] == ' ')
            ++j;
        // NEXT or N alone is a word, not a block number: it stays.
        if (j == line.size() || !IsDigit(line[j]))
            return 0;
        i = j;
    } else if (!IsDigit(line[0])) {
        return 0;
    }
    while (i < line.size() && IsDigit(line[i]))
        ++i;
    if (i < line.size() && line[i] == ' ')
        ++i;
    return i;
}

}  // namespace

RenumberedLine RenumberText(std::string_view line, const SkipSet& charsToSkip, std::int64_t number,
                            const NumberingSettings& settings)
{
    if (line.size() < 2 || charsToSkip.Contains(line[0]))
        return RenumberedLine{std::string(line), false};
    char numberText[MaxBlockNumberText];
    const std::size_t k = WriteBlockNumberText(numberText, number, settings);
    const std::string_view rest = line.substr(AfterOldNumber(line));
    std::string text;
    text.reserve(k + rest.size());
    text.append(numberText, k);
    text.append(rest);
    return RenumberedLine{std::move(text), true};
}

NcResult NumberHighLightText(std::string_view lines, const NumberingSettings& settings)
{
    const SkipSet skip = SkipSet::FromSkipChars(settings.SkipChars);
    TextWriter out(lines.size() + CountLines(lines) * 6);
    LineReader reader(lines);
    Line line;
    std::int64_t number = settings.Startnumber;
    std::int64_t lineNumber = 0;
    while (reader.Next(line)) {
        ++lineNumber;
        out.Ensure(line.content.size() + line.lineBreak.size() + MaxBlockNumberText);
        const std::string_view content = line.content;
        if (content.size() < 2 || skip.Contains(content[0])) {
            out.Put(content);
        } else {
            if (number < INT32_MIN || number > INT32_MAX)
                return NcResult::Fail(NcErrorKind::NumberOutOfRange, lineNumber);
            char numberText[MaxBlockNumberText];
            out.Put(std::string_view(numberText, WriteBlockNumberText(numberText, number, settings)));
            out.Put(content.substr(AfterOldNumber(content)));
            number += settings.Increment;
        }
        out.Put(line.lineBreak);
    }
    return NcResult::Ok(out.Finish());
}
