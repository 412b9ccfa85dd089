#include "ui/chart_png.h"

#include <QSaveFile>
#include <qcustomplot.h>

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
    QSaveFile file(path);
    const QPixmap picture = chart->toPixmap(chart->width(), chart->height());
    const bool saved = file.open(QIODevice::WriteOnly) && picture.save(&file, "PNG") && file.commit();
    const QString outcome = Text(FillPlaceholders(
        EditingText(saved ? EditingTextId::CurvesSaved : EditingTextId::CurvesNotSaved, language),
        {path.toStdString()}));
    if (!saved)
        prompts->ShowMessage(parent, outcome, file.errorString());
    else if (say)
        say(outcome);
    return outcome;
}

} // namespace zevo
