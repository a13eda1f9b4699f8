#include "companions/krometric/clsMetric.h"

#include "companions/krometric/frmMetricConversion.h"
#include "platform/com/ComServer.h"

#include <QPointer>

namespace {

const platform::ComClass Classes[] = {
    {"KroMetric.clsMetric", "clsMetric", [](QObject* parent) -> QObject* { return new clsMetric(parent); },
     clsMetric::ClassId},
};

QPointer<frmMetricConversion> Window;

}  // namespace

TALVEX_COM_SERVER(Classes)

clsMetric::clsMetric(QObject* parent) : QObject(parent) {}

void clsMetric::ShowMetric()
{
    if (!Window) {
        Window = new frmMetricConversion;
        Window->setAttribute(Qt::WA_DeleteOnClose);
        Window->setAttribute(Qt::WA_QuitOnClose, false);
    }
    Window->show();
    Window->raise();
    Window->activateWindow();
}
