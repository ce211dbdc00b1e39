#include "PrinterResolution.h"

#include <QFile>
#include <QRegularExpression>

#include <cmath>

namespace {

// Fonts are sized in points at the vertical resolution, so that is the one that counts.
int DotsPerInch(int vertical, bool perCentimetre)
{
    if (vertical <= 0)
        return 0;
    return perCentimetre ? static_cast<int>(std::lround(vertical * 2.54)) : vertical;
}

int IppResolution(const TCups& cups, http_t* http, cups_dest_t* dest, cups_dinfo_t* info)
{
    ipp_attribute_t* attr = cups.FindDestDefault(http, dest, info, "printer-resolution");
    if (!attr || cups.GetValueTag(attr) != IPP_TAG_RESOLUTION || cups.GetCount(attr) <= 0)
        return 0;
    int vertical = 0;
    ipp_res_t units = IPP_RES_PER_INCH;
    cups.GetResolution(attr, 0, &vertical, &units);
    return DotsPerInch(vertical, units == IPP_RES_PER_CM);
}

// The PPD calls are the only way to a driver's own default on older queues; libcups marks them
// deprecated in favour of the IPP attributes tried first.
int PpdResolution(const TCups& cups, http_t* http, const char* name)
{
    const char* fetched = cups.GetPPD(http, name);
    if (!fetched)
        return 0;
    const QString path = QFile::decodeName(fetched);
    QFile file(path);
    int dpi = 0;
    if (file.open(QIODevice::ReadOnly))
        dpi = PpdDefaultResolution(file.readAll());
    file.close();
    // cupsGetPPD2 hands over a temporary copy of the PPD, which is ours to remove.
    QFile::remove(path);
    return dpi;
}

} // namespace

int PpdDefaultResolution(const QByteArray& ppdText)
{
    // Built per call: the service's threads read PPDs too, and a shared pattern is not worth a lock.
    const QRegularExpression line(QStringLiteral("^\\*DefaultResolution:\\s*(\\d+)(?:x(\\d+))?\\s*(dpi|dpcm)\\s*$"),
                                  QRegularExpression::MultilineOption | QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = line.match(QString::fromLatin1(ppdText).remove(QLatin1Char('\r')));
    if (!m.hasMatch())
        return 0;
    const int vertical = (m.capturedLength(2) > 0 ? m.captured(2) : m.captured(1)).toInt();
    return DotsPerInch(vertical, m.captured(3).compare(QLatin1String("dpcm"), Qt::CaseInsensitive) == 0);
}

int ReportedResolution(const TCups& cups, http_t* http, cups_dest_t* dest, cups_dinfo_t* info)
{
    const int dpi = info ? IppResolution(cups, http, dest, info) : 0;
    return dpi > 0 ? dpi : PpdResolution(cups, http, dest->name);
}
