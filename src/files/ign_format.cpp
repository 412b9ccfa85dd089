#include "files/ign_format.h"
#include "params/number_field.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <istream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

namespace zevo {

namespace {

constexpr std::string_view KeyWord = "VORTALEX_KEY";
constexpr std::string_view LineEnd = "\r\n";
// The map rows line up under the RPM axis: labels and continuation lines are 14 columns wide.
constexpr std::string_view MapIndent = "              ";
constexpr std::size_t MaxWordLength = 255;

// "%5u " (or "%3u "): right-aligned in the given columns, then one blank.
void AppendNumber(std::string& text, unsigned value, std::size_t width = 5) {
    AppendNumberField(text, value, width);
}

// The switches are written as 0 or 1 whatever the byte holds; the unit reads any non-zero as on.
char SwitchDigit(std::uint8_t value) { return value != 0 ? '1' : '0'; }

void AppendServo(std::string& text, const DeviceImage& image, int servo) {
    const char number = static_cast<char>('1' + servo);
    text += LineEnd;
    text += LineEnd;
    text += "SERVO_";
    text += number;
    text += "       "; // the label fills 14 columns
    text += "    ";    // the enable switch: a five-column field without its blank
    text += SwitchDigit(image.ServoEnable(servo));
    for (const std::uint8_t value : {image.TpEnable(servo), image.PerCentMode(servo)}) {
        text += "     ";
        text += SwitchDigit(value);
        text += ' ';
    }
    AppendNumber(text, 5u * image.HysteresisMv(servo));
    AppendNumber(text, 5u * image.HysteresisRpm(servo));

    text += LineEnd;
    text += "RPM_SERVO";
    text += number;
    text += "    ";
    for (int point = 0; point < RpmPoints; ++point)
        AppendNumber(text, 100u * image.RpmAxis(servo, point));

    // Map cells go out in the unit the editor shows: per cent as stored, else millivolts.
    const unsigned scale = image.PerCentMode(servo) != 0 ? 1u : 20u;
    text += LineEnd;
    text += "NAP_SERVO";
    text += number;
    text += "    ";
    for (int cell = 0; cell < MapCells; ++cell) {
        AppendNumber(text, scale * image.MapCell(servo, cell));
        if (cell % MapColumns == MapColumns - 1) {
            text += LineEnd;
            text += MapIndent;
        }
    }
}

// White space as the C library sees it in the "C" locale, and the DOS end-of-file mark, which may
// close a file. NUL and bytes above 127 are word characters.
constexpr int CtrlZ = 0x1A;
bool IsSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == CtrlZ;
}
bool IsDigit(int c) { return c >= '0' && c <= '9'; }
// A byte no text editor writes into a text: the C0 controls but TAB, LF and CR (and Ctrl+Z, which
// is allowed at the very end only), and DEL.
bool IsForeignControl(unsigned char c) {
    return (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != CtrlZ) || c == 0x7F;
}

// Words and numbers from a stream: memory stays bounded and time linear whatever the bytes are.
// The characters are taken from the stream's buffer a block at a time, so the per-character work
// is a pointer step and a test. A buffer that throws, as a failing disk or share can, ends the
// reading with the stream's bad bit set. Once checking has begun, every byte is looked at for a
// control character as its block comes in, and the first one ends the reading.
class WordReader {
public:
    explicit WordReader(std::istream& in) : In(in), Buffer(in.rdbuf()) {}

    // The next word, or false at the end. A word longer than MaxWordLength is consumed whole and
    // comes back empty, so it can match nothing.
    bool NextWord(std::string& word) {
        SkipSpace();
        if (Peek() == Eof)
            return false;
        word.clear();
        bool tooLong = false;
        for (int c = Peek(); c != Eof && !IsSpace(c); c = Advance()) {
            if (word.size() < MaxWordLength)
                word += static_cast<char>(c);
            else
                tooLong = true;
        }
        if (tooLong)
            word.clear();
        return true;
    }

    // The next number: white space, then the digits that follow, of which the low 16 bits count.
    // When the next word does not start with a digit nothing of it is consumed, so that word is
    // read again as a word.
    bool NextNumber(std::uint16_t& number) {
        SkipSpace();
        if (!IsDigit(Peek()))
            return false;
        unsigned value = 0;
        for (int c = Peek(); IsDigit(c); c = Advance())
            value = (value * 10u + static_cast<unsigned>(c - '0')) & 0xFFFFu;
        number = static_cast<std::uint16_t>(value);
        return true;
    }

    // From here on every byte is data.
    void StartChecking() {
        if (Checking)
            return;
        Checking = true;
        if (At != nullptr)
            Check(At);
    }

    bool Failed() const { return In.bad(); }
    bool TooLarge() const { return Oversized; }
    const std::optional<IgnDamage>& Damage() const { return Found; }

private:
    static constexpr int Eof = std::char_traits<char>::eof();

    int Peek() {
        if (At == End && !Refill())
            return Eof;
        return static_cast<unsigned char>(*At);
    }

    // Consumes the current character and returns the one after it.
    int Advance() {
        ++At;
        return Peek();
    }

    bool Refill() {
        if (Ended)
            return false;
        LinesBeforeBlock += LinesIn(Block.data(), End);
        std::streamsize got = 0;
        try {
            got = Buffer != nullptr ? Buffer->sgetn(Block.data(), static_cast<std::streamsize>(Block.size())) : 0;
        } catch (...) {
            try {
                In.setstate(std::ios_base::badbit);
            } catch (...) { // a stream that asked for exceptions gets none from a reader of ours
            }
            got = 0;
        }
        if (got <= 0) {
            Ended = true;
            At = End = nullptr;
            return false;
        }
        const bool first = BlockOffset == 0 && End == nullptr;
        if (!first)
            BlockOffset += static_cast<std::uint64_t>(End - Block.data());
        At = Block.data();
        End = At + got;
        if (BlockOffset + static_cast<std::uint64_t>(got) > IgnFileLimit) {
            Oversized = true;
            Stop();
            return false;
        }
        if (first)
            LookAtStart();
        if (Checking)
            Check(At);
        return At != End;
    }

    // UTF-16 shows in its first two bytes: a byte order mark, or the NUL beside an ASCII letter that
    // no text file starts with. A UTF-8 byte order mark is passed over.
    void LookAtStart() {
        const auto size = static_cast<std::size_t>(End - At);
        const auto byte = [this](std::size_t i) { return static_cast<unsigned char>(At[i]); };
        if (size >= 2 && ((byte(0) == 0xFF && byte(1) == 0xFE) || (byte(0) == 0xFE && byte(1) == 0xFF) ||
                          byte(0) == 0 || byte(1) == 0)) {
            IgnDamage damage;
            damage.Utf16 = true;
            damage.Line = 1;
            Found = damage;
            Stop();
            return;
        }
        if (size >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF)
            At += 3;
    }

    // Looks at the bytes of the block from `from` on.
    void Check(const char* from) {
        for (const char* p = from; p != End; ++p) {
            const auto c = static_cast<unsigned char>(*p);
            if (c == CtrlZ) {
                if (!CtrlZAt)
                    CtrlZAt = Position(p);
                continue;
            }
            // Ctrl+Z ends a file: anything after it but more of them means it was not the end.
            if (CtrlZAt || IsForeignControl(c)) {
                Found = CtrlZAt ? *CtrlZAt : Position(p);
                Stop();
                return;
            }
        }
    }

    IgnDamage Position(const char* p) const {
        IgnDamage damage;
        damage.Offset = BlockOffset + static_cast<std::uint64_t>(p - Block.data());
        damage.Line = LinesBeforeBlock + LinesIn(Block.data(), p) + 1;
        damage.Byte = static_cast<std::uint8_t>(*p);
        return damage;
    }

    static std::uint64_t LinesIn(const char* from, const char* to) {
        if (from == nullptr || to == nullptr)
            return 0;
        return static_cast<std::uint64_t>(std::count(from, to, '\n'));
    }

    void Stop() {
        Ended = true;
        End = At;
    }

    void SkipSpace() {
        for (int c = Peek(); IsSpace(c); c = Advance()) {
        }
    }

    std::istream& In;
    std::streambuf* Buffer;
    std::array<char, 4096> Block{};
    const char* At = nullptr;
    const char* End = nullptr;
    bool Ended = false;
    bool Checking = false;
    bool Oversized = false;
    std::uint64_t BlockOffset = 0;
    std::uint64_t LinesBeforeBlock = 0;
    std::optional<IgnDamage> CtrlZAt;
    std::optional<IgnDamage> Found;
};

enum class Field { Pulses, Tps, Servo, Rpm, Map };

struct Section {
    std::string_view Key;
    Field Kind;
    int Servo;
    int Count; // values that follow the key
};

constexpr std::array<Section, 8> Sections = {{
    {"POCET_PULSU", Field::Pulses, 0, 1},
    {"TPS", Field::Tps, 0, 2},
    {"SERVO_1", Field::Servo, 0, 5},
    {"RPM_SERVO1", Field::Rpm, 0, RpmPoints},
    {"NAP_SERVO1", Field::Map, 0, MapCells},
    {"SERVO_2", Field::Servo, 1, 5},
    {"RPM_SERVO2", Field::Rpm, 1, RpmPoints},
    {"NAP_SERVO2", Field::Map, 1, MapCells},
}};

const Section* FindSection(std::string_view word) {
    for (const Section& section : Sections) {
        if (section.Key == word)
            return &section;
    }
    return nullptr;
}

std::uint8_t Low8(unsigned value) { return static_cast<std::uint8_t>(value & 0xFFu); }

// Value `index` of a section, converted from the file's units into the byte.
void Store(DeviceImage& image, const Section& section, int index, unsigned n) {
    const int servo = section.Servo;
    switch (section.Kind) {
    case Field::Pulses:
        image.PulsesPerRevIndex() = Low8(n);
        break;
    case Field::Tps:
        // The 100 % calibration counts from 2500 mV: n / 10 - 250, which is n / 10 + 6 modulo 256.
        if (index == 0)
            image.Tps0() = Low8(n / 10);
        else
            image.Tps100() = Low8(n / 10 + 6);
        break;
    case Field::Servo:
        if (index == 0)
            image.ServoEnable(servo) = Low8(n);
        else if (index == 1)
            image.TpEnable(servo) = Low8(n);
        else if (index == 2)
            image.PerCentMode(servo) = Low8(n);
        else if (index == 3)
            image.HysteresisMv(servo) = Low8(n / 5);
        else
            image.HysteresisRpm(servo) = Low8(n / 5);
        break;
    case Field::Rpm:
        image.RpmAxis(servo, index) = Low8(n / 100);
        break;
    case Field::Map:
        // The unit of the map is the servo's PerCentMode as it stands now: in a file in the
        // written order, the one just read from the servo's own line.
        image.MapCell(servo, index) = Low8(image.PerCentMode(servo) != 0 ? n : n / 20);
        break;
    }
}

} // namespace

void WriteIgnFile(std::ostream& out, const DeviceImage& image) {
    std::string text;
    text.reserve(4096);
    text += KeyWord;
    text += "   ";
    AppendNumber(text, static_cast<unsigned>(PcProgramVersion), 3);
    text += LineEnd;
    text += LineEnd;
    text += "POCET_PULSU  ";
    AppendNumber(text, image.PulsesPerRevIndex());
    text += LineEnd;
    text += LineEnd;
    text += "TPS          ";
    AppendNumber(text, 10u * image.Tps0());
    AppendNumber(text, 10u * image.Tps100() + 2500u);
    for (int servo = 0; servo < ServoCount; ++servo)
        AppendServo(text, image, servo);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

IgnReadResult ReadIgnFile(std::istream& in, DeviceImage& image, IgnDamage* damage) {
    if (!in.good())
        return IgnReadResult::ReadError;
    WordReader reader(in);
    std::string word;
    word.reserve(MaxWordLength);
    // Why the reading ended early, if it did. A damaged file is refused before its values count.
    const auto refused = [&]() -> std::optional<IgnReadResult> {
        if (reader.Failed())
            return IgnReadResult::ReadError;
        if (reader.TooLarge())
            return IgnReadResult::TooLarge;
        if (reader.Damage()) {
            if (damage != nullptr)
                *damage = *reader.Damage();
            return IgnReadResult::Damaged;
        }
        return std::nullopt;
    };

    // A file of another version is refused as a whole, so nothing is stored before the key word
    // with our format number; anything in front of it (a note, a mail header) is ignored.
    bool matched = false;
    while (!matched && reader.NextWord(word)) {
        if (word != KeyWord)
            continue;
        reader.StartChecking();
        std::uint16_t number = 0;
        matched = reader.NextNumber(number) && number == PcProgramVersion;
    }
    if (const auto result = refused())
        return *result;
    if (!matched)
        return IgnReadResult::UnmatchedVersion;

    // Keys in any order, the last one wins; unknown words and surplus numbers are skipped. A value
    // the file does not supply leaves its field as it was.
    DeviceImage read = image;
    while (reader.NextWord(word)) {
        const Section* section = FindSection(word);
        if (section == nullptr)
            continue;
        std::uint16_t number = 0;
        for (int index = 0; index < section->Count && reader.NextNumber(number); ++index)
            Store(read, *section, index, number);
    }
    if (const auto result = refused())
        return *result;
    image = read;
    return IgnReadResult::Ok;
}

} // namespace zevo
