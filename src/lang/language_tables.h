#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zevo {

// 0 Czech, 1 English, 2 German. Any other index reads the Czech texts.
inline constexpr std::uint8_t LanguageCzech = 0;
inline constexpr std::uint8_t LanguageEnglish = 1;
inline constexpr std::uint8_t LanguageGerman = 2;
inline constexpr int LanguageCount = 3;

// Captions replaced when a language is applied, in the order they are applied.
enum class CaptionId : int {
    FormCaption,
    LabelSpojeni,
    MenuFile,
    MenuNew,
    MenuOpen,
    MenuOpenExeDir,
    MenuSaveExeDir,
    MenuSave,
    MenuPrint,
    MenuExit,
    MenuCom,
    MenuDevice,
    MenuRead,    // also ButtonRead
    MenuVerify,  // also ButtonVerify
    MenuProgram, // also ButtonProgram
    MenuTools,
    MenuLanguage,
    MenuEnglish,
    MenuGerman,
    MenuCzech,
    MenuHelp,
    MenuContens,
    MenuAbout,
    TabSheet_Servo1,
    TabSheet_Servo2,
    CheckBoxProgHned,
    LabelFile1,
    CheckBoxServoEnable,
    // applied after the hints and the radio items:
    TabSheet_Ruzne,
    CheckBoxProcenta,
    LabelHystMv,
    LabelHystRpm,
    RadioGroupPocPulsu,
    MenuZpet,
    MenuZnovu,
    Count
};

// Hints replaced when a language is applied, in the order they are applied. Each text is the whole
// new hint of its control(s); only the English MenuLanguage hint carries a '|' short/long split.
enum class HintId : int {
    LabelVerze1,
    LabelVerze2,
    LabelVerze3,
    MenuOpen,
    MenuNew,
    MenuSave,
    MenuPrint,   // also SpeedButtonPrint
    MenuProgram, // also ButtonProgram
    MenuVerify,  // also ButtonVerify
    MenuRead,    // also ButtonRead
    MenuExit,
    MenuLanguage,
    CheckBoxProgHned,
    MenuCom,
    Count
};

// The message texts the window holds, in the order they are filled.
enum class MsgId : int {
    ManualFileName,
    MsgProgramError,
    MsgVerifyError,
    MsgReadError,
    MsgProgramDevice,
    MsgUnmatchedVersion,
    MsgVerify,
    MsgRead,
    MsgSaving,
    MsgNumberOfProgramming,
    MsgComOpeningError,
    MsgOpenFileError,
    MsgDefaultSetting,
    MsgUnmatchedFileVersion,
    MsgManualOpenError,
    MsgServoDesired,
    MsgServoMeasured,
    Count
};

inline constexpr int RadioItemCount = 13; // item 0: one pulse per two turns; items 1..12: n per turn

// All texts are UTF-8, exactly as the unit's users have always seen them (typos included).
std::string_view CaptionText(CaptionId id, std::uint8_t language);

// What sets thousands apart in the language's numbers, the one format of the window's fields,
// listings and messages: a no-break space in Czech ("2 300"), a comma in English ("2,300"), a full
// stop in German ("2.300"). Any other index reads Czech. UTF-8.
std::string_view GroupSeparator(std::uint8_t language);
std::string_view HintText(HintId id, std::uint8_t language);
// MsgManualOpenError is composed from the ManualFileName of the same language.
std::string MessageText(MsgId id, std::uint8_t language);
// Item 0..12 of the pulses-per-revolution radio group.
std::string RadioItemText(int item, std::uint8_t language);

// Placeholders shown on the live labels while no unit is connected.
std::string NumberOfProgrammingPlaceholder(std::uint8_t language);           // "Number of Programing = = ---"
std::string ServoDesiredPlaceholder(int servoNumber, std::uint8_t language); // "Servo desired 1 = --- mV"
std::string ServoMeasuredPlaceholder(int servoNumber, std::uint8_t language); // "Servo measured 1 = --- mV"

// Texts of printing, picked by the print command when it runs; no language application writes them.
// PrinterFailed carries "%1" for the printer's name.
enum class PrintTextId : int { Caption, NoPrinter, PrinterFailed, SaveAsPdf, PdfWriteFailed, Count };
std::string_view PrintText(PrintTextId id, std::uint8_t language);
// Notes of the link for the status bar.
// PortNotOpened: %1 the COM number, %2 the device path, %3 the system's reason.
enum class LinkNoteId : int {
    ReadWaitsForProgram,
    VerifyWaitsForProgram,
    MixedSetAfterFailedProgram,
    PortNotOpened,
    QueueDropped,
    Count
};
std::string LinkNoteText(LinkNoteId id, std::uint8_t language);

// The port assignments window and the COM menu's hints. NotADevice, NotStorable: %1 the path;
// ComHint: %1 "COMn", %2 the device; ComHintNone: %1 "COMn".
enum class PortTextId : int {
    MenuPortAssignments,
    Title,
    ColumnCom,
    ColumnDevice,
    ColumnById,
    ColumnUsb,
    ColumnMaker,
    ColumnSerial,
    LabelNumber,
    LabelPath,
    ButtonPin,
    ButtonUnpin,
    PinsCaption,
    NotPresent,
    NotADevice,
    NotStorable,
    ComHint,
    ComHintNone,
    Count
};
std::string_view PortText(PortTextId id, std::uint8_t language);

// Why F1 could not open the manual, shown under MsgManualOpenError; "%1" is the manual's full path.
enum class ManualTextId : int { NoViewer, Missing, Refused, Count };
std::string_view ManualText(ManualTextId id, std::uint8_t language);
// The About window's caption. An index outside 0..2 has none: the window keeps the caption it has.
std::optional<std::string_view> AboutCaptionText(std::uint8_t language);

// The language chosen by the first command-line argument: exactly "ENGLISH", "CESKY" or "DEUTSCH"
// (case-sensitive); anything else chooses nothing.
std::optional<std::uint8_t> LanguageFromArgument(std::string_view argument);

} // namespace zevo
