#include "PrinterResolution.h"

#include <QFile>
#include <QRegularExpression>

#include <cmath>
#include <cups/cups.h>
#include <cups/ppd.h>

namespace {

// Fonts are sized in points at the vertical resolution, so that is the one that counts.
int DotsPerInch(int vertical, bool perCentimetre)
{
    if (vertical <= 0)
        return 0;
    return perCentimetre ? static_cast<int>(std::lround(vertical * 2.54)) : vertical;
}

int IppResolution(cups_dest_t* dest)
{
    cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest);
    if (!info)
        return 0;
    int dpi = 0;
    ipp_attribute_t* attr = cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest, info, "printer-resolution");
    if (attr && ippGetValueTag(attr) == IPP_TAG_RESOLUTION && ippGetCount(attr) > 0) {
        int vertical = 0;
        ipp_res_t units = IPP_RES_PER_INCH;
        ippGetResolution(attr, 0, &vertical, &units);
        dpi = DotsPerInch(vertical, units == IPP_RES_PER_CM);
    }
    cupsFreeDestInfo(info);
    return dpi;
}

int PpdResolution(const QByteArray& name)
{
    // The PPD calls are the only way to a driver's own default on older queues; libcups marks
    // them deprecated in favour of the IPP attributes tried first.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const char* fetched = cupsGetPPD(name.constData());
#pragma GCC diagnostic pop
    if (!fetched)
        return 0;
    const QString path = QFile::decodeName(fetched);
    QFile file(path);
    int dpi = 0;
    if (file.open(QIODevice::ReadOnly))
        dpi = PpdDefaultResolution(file.readAll());
    file.close();
    // cupsGetPPD hands over a temporary copy of the PPD, which is ours to remove.
    QFile::remove(path);
    return dpi;
}

} // namespace

int PpdDefaultResolution(const QByteArray& ppdText)
{
    static const QRegularExpression line(
        QStringLiteral("^\\*DefaultResolution:\\s*(\\d+)(?:x(\\d+))?\\s*(dpi|dpcm)\\s*$"),
        QRegularExpression::MultilineOption | QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = line.match(QString::fromLatin1(ppdText).remove(QLatin1Char('\r')));
    if (!m.hasMatch())
        return 0;
    const int vertical = (m.capturedLength(2) > 0 ? m.captured(2) : m.captured(1)).toInt();
    return DotsPerInch(vertical, m.captured(3).compare(QLatin1String("dpcm"), Qt::CaseInsensitive) == 0);
}

int ReportedResolution(const QString& printerName)
{
    const QByteArray name = printerName.toUtf8();
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.isEmpty() ? nullptr : name.constData(), nullptr);
    if (!dest)
        return 0;
    int dpi = IppResolution(dest);
    if (dpi <= 0)
        dpi = PpdResolution(QByteArray(dest->name));
    cupsFreeDests(1, dest);
    return dpi;
}

int PrinterResolution(const QString& printerName)
{
    const int dpi = ReportedResolution(printerName);
    return dpi > 0 ? dpi : kFallbackResolution;
}
