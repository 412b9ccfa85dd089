#include "ui/chart_png.h"

#include <qcustomplot.h>

#include "files/checked_write.h"
#include "lang/editing_texts.h"
#include "ui/prompter.h"
#include "ui/qt_text.h"

namespace zevo {

QString SaveChartAsPng(QWidget* parent, QCustomPlot* chart, Prompter* prompts, const QString& initialName,
                       std::uint8_t language, const std::function<void(const QString&)>& say) {
    if (!prompts)
        return {};
    FileDialogSettings settings;
    settings.DefaultExtension = QStringLiteral("png");
    settings.Filters = {QStringLiteral("PNG (*.png)")};
    settings.PromptOverwrite = true;
    settings.InitialFileName = initialName;
    const QString path = prompts->SaveFileName(parent, settings);
    if (path.isEmpty())
        return {};
    const QPixmap picture = chart->toPixmap(chart->width(), chart->height());
    const WriteResult saved =
        WriteFileChecked(path, [&picture](QIODevice& file) { return picture.save(&file, "PNG"); });
    const QString outcome = Text(FillPlaceholders(
        EditingText(saved ? EditingTextId::CurvesSaved : EditingTextId::CurvesNotSaved, language),
        {path.toStdString()}));
    if (!saved)
        prompts->ShowMessage(parent, outcome, saved.Reason);
    else if (say)
        say(outcome);
    return outcome;
}

} // namespace zevo
