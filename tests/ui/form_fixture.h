#pragma once
#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "app/app_settings.h"
#include "app/image_file.h"
#include "fake_prompter.h"
#include "params/device_image.h"
#include "link/serial_line.h"
#include "offline_line.h"
#include "ui/form_hlav.h"

// Readable failures: gtest prints a QString as its text.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace zevo {

// The real window in a temporary config folder, its questions answered by a script.
class FormFixture : public ::testing::Test {
protected:
    // The window writes numbers in its language's locale, which it makes the default; the next test
    // starts from the locale this one found.
    QLocale SavedLocale;
    ~FormFixture() override { QLocale::setDefault(SavedLocale); }

    QTemporaryDir Dir;
    FakePrompter Prompts;
    OfflineLine Offline;
    SerialLine* Line = &Offline;
    // No window test prints on a real printer or starts a document viewer.
    std::function<PrintOutcome(const QImage&)> PrintPage = [](const QImage&) {
        return PrintOutcome{PrintResult::NoPrinter, QString()};
    };
    std::function<DocumentOpening(const QString&)> OpenDocument = [](const QString&) {
        return DocumentOpening::Refused;
    };
    // The ride log's clock; none: the system's.
    std::function<std::int64_t()> SteadyMs;
    // The config folder; empty: the temporary Dir.
    QString ConfigDir;

    std::unique_ptr<TFormHlav> Start(const QStringList& arguments = {}) {
        StartOptions options;
        options.Arguments = arguments;
        options.ConfigDir = ConfigDir.isEmpty() ? Dir.path() : ConfigDir;
        options.Prompts = &Prompts;
        options.Line = Line;
        options.PrintPage = PrintPage;
        options.OpenDocument = OpenDocument;
        options.SteadyMs = SteadyMs;
        return std::make_unique<TFormHlav>(options);
    }
    // The set the tool finds at its next start, as the close of an earlier session leaves it in the
    // config folder: every byte, and the two "All" boxes.
    void LeaveForStart(const DeviceImage& set, const AllCellsFlags& allCells = {}) {
        const QString folder = ConfigDir.isEmpty() ? Dir.path() : ConfigDir;
        std::ofstream out(QDir(folder).filePath(QString::fromStdString(ParameterImageFileName())).toStdString());
        WriteImageFile(out, set, allCells);
        ASSERT_TRUE(out.good());
    }
    static DeviceImage DefaultSet() {
        DeviceImage set;
        SetDefaults(set);
        return set;
    }
    // Shown and active, for tests that type and click.
    std::unique_ptr<TFormHlav> StartShown(const QStringList& arguments = {}) {
        auto form = Start(arguments);
        form->show();
        QApplication::setActiveWindow(form.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return form;
    }
};

} // namespace zevo
