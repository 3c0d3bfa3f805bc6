// Both actions on arbitrary field texts and selector states, with the
// invariants a person relies on checked on every run.
#include "form/actions.h"
#include "numtext/arithmetic_failure.h"
#include "numtext/number_text.h"

#include <cmath>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Splits the input at 0xFF bytes into the field texts.
std::vector<std::string> Pieces(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> pieces(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0xFF) {
            pieces.emplace_back();
        } else {
            pieces.back().push_back(static_cast<char>(data[i]));
        }
    }
    pieces.resize(8);
    return pieces;
}

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

void Require(bool condition) {
    if (!condition) std::abort();
}

std::size_t Count(const std::string& text, const std::string& piece) {
    std::size_t n = 0;
    for (std::size_t p = 0; (p = text.find(piece, p)) != std::string::npos; p += piece.size()) ++n;
    return n;
}

// Results after a click that wrote: the header, whole CR LF lines, no row of
// 0 turns, and no more rows than the counting rule allows. The unit text is
// the user's and may itself hold line breaks or row-like text.
void CheckResults(const std::string& results, const std::string& unitText) {
    Require(results.rfind("Min ", 0) == 0);
    Require(EndsWith(results, "\r\n"));
    const std::string rowMarker = "       Wire ";
    const std::size_t rows = Count(results, rowMarker) / (1 + Count(unitText, rowMarker));
    if (unitText.find("  Turns   Length") == std::string::npos)
        Require(Count(results, "\n  Turns   Length") == 0);
    // Tenths of an ordinary close-winding length give 10 or 11 rows; only a
    // subnormal length, whose tenths are rounded to a few units, gives more.
    const std::size_t lengthAt = results.find("length ");
    Require(lengthAt != std::string::npos);
    const double closeWindingLength =
        tolvex::Val(results.substr(lengthAt + 7, results.find("\r\n") - lengthAt - 7));
    const bool ordinary = closeWindingLength == 0.0 || std::fabs(closeWindingLength) >= 1e-300;
    Require(rows <= (ordinary ? 11U : 16U));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto p = Pieces(data, size);
    tolvex::CoilFields fields;
    tolvex::Form_Load(fields);
    fields.FormDia = p[0];
    fields.WireDia = p[1];
    fields.Ind = p[2];
    fields.Turns = p[3];
    fields.Length = p[4];
    if (!p[5].empty() && static_cast<unsigned char>(p[5][0]) < 4) {
        fields.IndUnits.SetListIndex(static_cast<tolvex::Int16>(p[5][0] - 1));
    } else {
        fields.IndUnits.SetText(p[5]);
    }
    const std::string before = "\x01previous";
    fields.IndRes = before;
    fields.Results = before;

    try {
        tolvex::CalcInd_Click(fields);
        Require(EndsWith(fields.IndRes, fields.IndUnits.Text()));
    } catch (const tolvex::ArithmeticFailure&) {
        Require(fields.IndRes == before);
    }
    Require(fields.Results == before);

    try {
        tolvex::GO_Click(fields);
        CheckResults(fields.Results, fields.IndUnits.Text());
    } catch (const tolvex::ArithmeticFailure& failure) {
        const auto kind = failure.kind();
        Require(kind == tolvex::FailureKind::DivisionByZero ||
                kind == tolvex::FailureKind::Overflow ||
                kind == tolvex::FailureKind::InvalidArgument);
        if (fields.Results != before) CheckResults(fields.Results, fields.IndUnits.Text());
    }
    return 0;
}
