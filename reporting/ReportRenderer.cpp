#include "ReportRenderer.h"

#include "DataSet.h"
#include "ReportData.h"
#include "qmImageBox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFontMetricsF>
#include <QPainter>

namespace {

constexpr double U = ReportRenderer::UnitsPerMm;

QString conditionText(const QString &condition)
{
    const QString c = condition.trimmed();
    return c.contains(QLatin1Char('[')) ? c : QLatin1Char('[') + c + QLatin1Char(']');
}

int alignmentFlags(const ReportObject &object)
{
    int flags = object.align == HAlign::Center ? Qt::AlignHCenter
        : object.align == HAlign::Right        ? Qt::AlignRight
                                               : Qt::AlignLeft;
    flags |= object.valign == VAlign::Top ? Qt::AlignTop
        : object.valign == VAlign::Bottom ? Qt::AlignBottom
                                          : Qt::AlignVCenter;
    flags |= object.wrap ? Qt::TextWordWrap : Qt::TextSingleLine;
    return flags;
}

bool sameLength(double a, double b)
{
    return qAbs(a - b) < 0.01;
}

} // namespace

ReportRenderer::ReportRenderer(
    const ReportTemplate &report, const ReportData &data, const QDateTime &now)
    : m_report(report)
    , m_data(data)
    , m_now(now.isValid() ? now : QDateTime::currentDateTime())
{
    for (const ReportBand &band : m_report.bands) {
        Compiled c;
        for (const ReportObject &object : band.objects) {
            if (object.type == ObjectType::Text)
                c.texts.append(ReportExpression(object.text, m_data));
            else if (object.type == ObjectType::Image && !object.field.isEmpty())
                c.texts.append(ReportExpression(conditionText(object.field), m_data));
            else
                c.texts.append(ReportExpression());
            QImage fixed;
            if (object.type == ObjectType::Image) {
                if (!object.data.isEmpty())
                    fixed = QmPicture::Decode(object.data);
                else if (!object.file.isEmpty())
                    fixed = QImage(
                        QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(object.file));
            }
            c.fixedImages.append(fixed);
        }
        m_compiled.append(c);
    }
    const int master = m_report.firstBandOf(BandType::Master);
    if (master >= 0)
        m_masterSet = m_data.indexOf(m_report.bands[master].dataSet);
    buildFlow();
    paginate();
}

ReportRenderer::~ReportRenderer() = default;

QSizeF ReportRenderer::pageSize() const
{
    return QSizeF(m_report.page.paperWidth(), m_report.page.paperHeight());
}

const QVector<int> *ReportRenderer::keepScope(QVector<int> rows)
{
    m_scopes.push_back(std::move(rows));
    return &m_scopes.back();
}

ReportEvalContext ReportRenderer::contextFor(
    const ReportBandInstance &instance, int pageIndex) const
{
    ReportEvalContext c;
    c.masterSet = m_masterSet;
    c.masterRow = instance.masterRow;
    c.masterScope = instance.masterScope;
    c.detailSet = instance.detailSet;
    c.detailRow = instance.detailRow;
    c.detailScope = instance.detailScope;
    c.line = instance.line;
    c.page = pageIndex + 1;
    c.totalPages = pageCount();
    c.now = m_now;
    return c;
}

double ReportRenderer::measure(const ReportBandInstance &instance) const
{
    const ReportBand &band = m_report.bands[instance.band];
    double height = band.height;
    for (int i = 0; i < band.objects.size(); ++i) {
        const ReportObject &object = band.objects[i];
        if (object.type != ObjectType::Text || !object.grow)
            continue;
        const double needed = textHeight(m_report, object, objectText(instance, i, 0));
        height = qMax(height, object.y + qMax(object.h, needed));
    }
    return height;
}

void ReportRenderer::buildFlow()
{
    const int masterRows = m_masterSet >= 0 ? m_data.dataSetAt(m_masterSet)->RecordCount() : 0;
    const int firstRow = masterRows > 0 ? 0 : -1;
    auto push = [&](ReportBandInstance instance) {
        instance.height = measure(instance);
        m_flow.append(instance);
        return static_cast<int>(m_flow.size()) - 1;
    };
    auto make = [&](int band, int masterRow, const QVector<int> *scope) {
        ReportBandInstance instance;
        instance.band = band;
        instance.masterRow = masterRow;
        instance.masterScope = scope;
        return instance;
    };

    QVector<int> every(masterRows);
    for (int r = 0; r < masterRows; ++r)
        every[r] = r;
    const QVector<int> *all = keepScope(every);

    const int title = m_report.firstBandOf(BandType::ReportTitle);
    if (title >= 0)
        push(make(title, firstRow, all));

    const int master = m_report.firstBandOf(BandType::Master);
    if (master >= 0) {
        int columnHeader = -1;
        const int columnBand = m_report.firstBandOf(BandType::ColumnHeader);
        if (columnBand >= 0) {
            ReportBandInstance header = make(columnBand, firstRow, all);
            header.keepWithNext = masterRows > 0;
            const int at = push(header);
            if (m_report.bands[columnBand].repeat)
                columnHeader = at;
        }

        struct Level
        {
            int header;
            int footer = -1;
            ReportExpression key;
            QString current;
            const QVector<int> *scope = nullptr;
        };
        QVector<Level> levels;
        for (int band : m_report.bandsOf(BandType::GroupHeader)) {
            Level level{band, -1,
                ReportExpression(conditionText(m_report.bands[band].condition), m_data), {},
                nullptr};
            for (int footer : m_report.bandsOf(BandType::GroupFooter))
                if (m_report.bands[footer].condition.trimmed().compare(
                        m_report.bands[band].condition.trimmed(), Qt::CaseInsensitive)
                    == 0)
                    level.footer = footer;
            levels.append(level);
        }
        auto keyAt = [&](int level, int row) {
            ReportEvalContext c;
            c.masterSet = m_masterSet;
            c.masterRow = row;
            c.now = m_now;
            return levels[level].key.evaluate(c);
        };
        auto closeGroups = [&](int downTo, int lastRow) {
            for (int l = static_cast<int>(levels.size()) - 1; l >= downTo; --l) {
                if (levels[l].footer < 0)
                    continue;
                ReportBandInstance footer = make(levels[l].footer, lastRow, levels[l].scope);
                footer.columnHeader = columnHeader;
                push(footer);
            }
        };

        const bool masterBreaks = m_report.bands[master].newPage;
        for (int r = 0; r < masterRows; ++r) {
            QStringList keys;
            for (int l = 0; l < levels.size(); ++l)
                keys << keyAt(l, r);
            int changed = static_cast<int>(levels.size());
            for (int l = 0; l < levels.size(); ++l) {
                if (r == 0 || keys[l] != levels[l].current) {
                    changed = l;
                    break;
                }
            }
            if (r > 0 && changed < levels.size())
                closeGroups(changed, r - 1);

            bool pendingBreak = masterBreaks && r > 0;
            for (int l = changed; l < levels.size(); ++l) {
                int end = r + 1;
                while (end < masterRows) {
                    bool same = true;
                    for (int k = 0; k <= l && same; ++k)
                        same = keyAt(k, end) == keys[k];
                    if (!same)
                        break;
                    ++end;
                }
                QVector<int> rows;
                for (int k = r; k < end; ++k)
                    rows << k;
                levels[l].scope = keepScope(rows);
                levels[l].current = keys[l];
                ReportBandInstance header = make(levels[l].header, r, levels[l].scope);
                header.keepWithNext = true;
                header.columnHeader = columnHeader;
                header.newPageBefore
                    = pendingBreak || (m_report.bands[levels[l].header].newPage && r > 0);
                pendingBreak = false;
                push(header);
            }

            ReportBandInstance row = make(master, r, levels.isEmpty() ? all : levels.last().scope);
            row.line = r + 1;
            row.columnHeader = columnHeader;
            row.newPageBefore = pendingBreak;
            push(row);
            addDetails(r, columnHeader);
        }
        if (masterRows > 0)
            closeGroups(0, masterRows - 1);
    }

    const int summary = m_report.firstBandOf(BandType::Summary);
    if (summary >= 0)
        push(make(summary, masterRows - 1, all));
}

void ReportRenderer::addDetails(int masterRow, int columnHeader)
{
    const TDataSet *masterSet = m_masterSet >= 0 ? m_data.dataSetAt(m_masterSet) : nullptr;
    for (int band : m_report.bandsOf(BandType::Detail)) {
        const ReportBand &detail = m_report.bands[band];
        const int set = m_data.indexOf(detail.dataSet);
        if (set < 0)
            continue;
        const TDataSet *rowsSet = m_data.dataSetAt(set);
        QVector<int> rows;
        const TField *key
            = detail.keyField.isEmpty() ? nullptr : rowsSet->FindField(detail.keyField);
        const TField *masterKey = masterSet && !detail.masterField.isEmpty()
            ? masterSet->FindField(detail.masterField)
            : nullptr;
        if (key && masterKey) {
            auto index = m_detailKeys.find(band);
            if (index == m_detailKeys.end()) {
                QHash<QString, QVector<int>> byKey;
                for (int r = 0; r < rowsSet->RecordCount(); ++r)
                    byKey[rowsSet->ValueAt(r, key->Index()).toString()].append(r);
                index = m_detailKeys.insert(band, byKey);
            }
            rows = index->value(masterSet->ValueAt(masterRow, masterKey->Index()).toString());
        } else if (detail.keyField.isEmpty()) {
            for (int r = 0; r < rowsSet->RecordCount(); ++r)
                rows << r;
        }
        const QVector<int> *scope = keepScope(rows);

        auto make = [&](int b, int detailRow, int line) {
            ReportBandInstance instance;
            instance.band = b;
            instance.masterRow = masterRow;
            instance.detailSet = set;
            instance.detailRow = detailRow;
            instance.detailScope = scope;
            instance.line = line;
            instance.columnHeader = columnHeader;
            instance.height = 0;
            return instance;
        };
        auto companion = [&](BandType type) {
            for (int b : m_report.bandsOf(type))
                if (m_report.bands[b].dataSet.compare(detail.dataSet, Qt::CaseInsensitive) == 0)
                    return b;
            return -1;
        };

        int detailHeader = -1;
        const int headerBand = companion(BandType::DetailHeader);
        if (headerBand >= 0) {
            ReportBandInstance header = make(headerBand, rows.isEmpty() ? -1 : rows.first(), 0);
            header.keepWithNext = !rows.isEmpty();
            header.height = measure(header);
            m_flow.append(header);
            if (m_report.bands[headerBand].repeat)
                detailHeader = static_cast<int>(m_flow.size()) - 1;
        }
        for (int i = 0; i < rows.size(); ++i) {
            ReportBandInstance row = make(band, rows[i], i + 1);
            row.detailHeader = detailHeader;
            row.height = measure(row);
            m_flow.append(row);
        }
        const int footerBand = companion(BandType::DetailFooter);
        if (footerBand >= 0) {
            ReportBandInstance footer = make(footerBand, rows.isEmpty() ? -1 : rows.last(), 0);
            footer.detailHeader = detailHeader;
            footer.height = measure(footer);
            m_flow.append(footer);
        }
    }
}

void ReportRenderer::paginate()
{
    const ReportPageSetup &setup = m_report.page;
    const int pageHeader = m_report.firstBandOf(BandType::PageHeader);
    const int pageFooter = m_report.firstBandOf(BandType::PageFooter);
    QVector<ReportBandInstance> current;
    double y = 0, contentStart = 0, bottom = 0;
    int lastMasterRow = -1;

    auto pageBand = [&](int band, int masterRow) {
        ReportBandInstance instance;
        instance.band = band;
        instance.masterRow = masterRow;
        instance.height = measure(instance);
        return instance;
    };
    auto prints = [&](int band) {
        return band >= 0 && (!m_pages.isEmpty() || m_report.bands[band].onFirstPage);
    };
    auto startPage = [&](int next) {
        current.clear();
        y = setup.top;
        const int masterRow = next >= 0 ? m_flow[next].masterRow : lastMasterRow;
        if (prints(pageHeader)) {
            ReportBandInstance header = pageBand(pageHeader, masterRow);
            header.y = y;
            y += header.height;
            current.append(header);
        }
        if (next >= 0 && !m_pages.isEmpty()) {
            const ReportBandInstance &item = m_flow[next];
            for (int repeated : {item.columnHeader, item.detailHeader}) {
                if (repeated < 0 || repeated == next)
                    continue;
                ReportBandInstance copy = m_flow[repeated];
                copy.masterRow = item.masterRow;
                copy.y = y;
                y += copy.height;
                current.append(copy);
            }
        }
        contentStart = y;
        bottom = setup.paperHeight() - setup.bottom;
        if (prints(pageFooter))
            bottom -= m_report.bands[pageFooter].height;
    };
    auto finishPage = [&] {
        if (prints(pageFooter)) {
            ReportBandInstance footer = pageBand(pageFooter, lastMasterRow);
            footer.y = setup.paperHeight() - setup.bottom - m_report.bands[pageFooter].height;
            current.append(footer);
        }
        m_pages.append(current);
    };

    startPage(m_flow.isEmpty() ? -1 : 0);
    for (int i = 0; i < m_flow.size(); ++i) {
        ReportBandInstance item = m_flow[i];
        double needed = item.height;
        if (item.keepWithNext && i + 1 < m_flow.size())
            needed += m_flow[i + 1].height;
        const bool hasContent = y > contentStart + 0.001;
        if (hasContent && (item.newPageBefore || y + needed > bottom + 0.001)) {
            finishPage();
            startPage(i);
        }
        item.y = y;
        y += item.height;
        if (item.masterRow >= 0)
            lastMasterRow = item.masterRow;
        current.append(item);
    }
    finishPage();
}

QString ReportRenderer::objectText(
    const ReportBandInstance &instance, int object, int pageIndex) const
{
    return m_compiled[instance.band].texts[object].evaluate(contextFor(instance, pageIndex));
}

QImage ReportRenderer::objectImage(const ReportBandInstance &instance, int object) const
{
    const ReportObject &o = m_report.bands[instance.band].objects[object];
    if (o.type != ObjectType::Image)
        return QImage();
    if (o.field.isEmpty())
        return m_compiled[instance.band].fixedImages[object];
    const QVariant value
        = m_compiled[instance.band].texts[object].fieldValue(contextFor(instance, 0));
    return value.isValid() ? QmPicture::Decode(value.toByteArray()) : QImage();
}

QString ReportRenderer::fieldCaption(int band, int object) const
{
    for (const QString &reference : m_compiled[band].texts[object].fieldReferences()) {
        const int dot = static_cast<int>(reference.indexOf(QLatin1Char('.')));
        const TDataSet *set = m_data.dataSet(reference.left(dot).trimmed());
        if (const TField *field = set ? set->FindField(reference.mid(dot + 1).trimmed()) : nullptr)
            return field->DisplayLabel();
    }
    return m_report.bands[band].objects[object].text;
}

QRectF ReportRenderer::objectRect(const ReportBandInstance &instance, int object) const
{
    const ReportBand &band = m_report.bands[instance.band];
    const ReportObject &o = band.objects[object];
    QRectF r(o.x, o.y, o.w, o.h);
    const double grown = instance.height - band.height;
    if (grown > 0.001) {
        if (sameLength(o.y + o.h, band.height))
            r.setHeight(o.h + grown);
        else if (o.type == ObjectType::Text && o.grow)
            r.setHeight(qMax(o.h, textHeight(m_report, o, objectText(instance, object, 0))));
    }
    return r;
}

void ReportRenderer::paintPage(QPainter &painter, int index, double dotsPerMm) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.scale(dotsPerMm / U, dotsPerMm / U);
    const double left = m_report.page.left;
    for (const ReportBandInstance &instance : m_pages.at(index)) {
        const ReportBand &band = m_report.bands[instance.band];
        for (int i = 0; i < band.objects.size(); ++i) {
            const ReportObject &o = band.objects[i];
            const QRectF r = objectRect(instance, i).translated(left, instance.y);
            const QRectF units(r.x() * U, r.y() * U, r.width() * U, r.height() * U);
            const QString text
                = o.type == ObjectType::Text ? objectText(instance, i, index) : QString();
            paintObject(painter, m_report, o, units, text, objectImage(instance, i));
        }
    }
    painter.restore();
}

QImage ReportRenderer::pageImage(int index, double dpi) const
{
    const double dotsPerMm = dpi / 25.4;
    const QSizeF mm = pageSize();
    QImage image(
        qRound(mm.width() * dotsPerMm), qRound(mm.height() * dotsPerMm), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dotsPerMm * 1000));
    image.setDotsPerMeterY(qRound(dotsPerMm * 1000));
    image.fill(Qt::white);
    QPainter painter(&image);
    paintPage(painter, index, dotsPerMm);
    return image;
}

QFont ReportRenderer::fontFor(const ReportTemplate &report, const ReportObject &object)
{
    QFont font(object.font.family.isEmpty() ? report.fontFamily : object.font.family);
    const double points = object.font.size > 0 ? object.font.size : report.fontSize;
    font.setPixelSize(qMax(1, qRound(points * 25.4 / 72 * U)));
    font.setBold(object.font.bold);
    font.setItalic(object.font.italic);
    font.setUnderline(object.font.underline);
    font.setHintingPreference(QFont::PreferNoHinting);
    // Shaping Latin runs of the CJK font substitutes glyphs that the PDF
    // writer cannot map back to characters: "A0001" would copy out of a PDF
    // as "A". Han and Latin need no shaping, so none is done.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

double ReportRenderer::textHeight(
    const ReportTemplate &report, const ReportObject &object, const QString &text)
{
    if (text.isEmpty())
        return 0;
    const QFontMetricsF metrics(fontFor(report, object));
    const double width = qMax(1.0, (object.w - 2 * PaddingX) * U);
    const QRectF needed
        = metrics.boundingRect(QRectF(0, 0, width, 1e9), alignmentFlags(object), text);
    return needed.height() / U + 2 * PaddingY;
}

void ReportRenderer::paintObject(QPainter &painter, const ReportTemplate &report,
    const ReportObject &object, const QRectF &rect, const QString &text, const QImage &image)
{
    if (object.fill.isValid() && object.type != ObjectType::Line)
        painter.fillRect(rect, object.fill);
    QPen pen(object.color, qMax(1.0, object.lineWidth * U));
    pen.setCapStyle(Qt::SquareCap);
    switch (object.type) {
    case ObjectType::Text:
        if (!text.isEmpty()) {
            painter.setFont(fontFor(report, object));
            painter.setPen(object.color);
            painter.drawText(
                rect.adjusted(PaddingX * U, PaddingY * U, -PaddingX * U, -PaddingY * U),
                alignmentFlags(object), text);
        }
        break;
    case ObjectType::Image:
        if (!image.isNull()) {
            QRectF target = rect;
            if (object.keepAspect) {
                QSizeF size = image.size();
                size.scale(rect.size(), Qt::KeepAspectRatio);
                target = QRectF(rect.center().x() - size.width() / 2,
                    rect.center().y() - size.height() / 2, size.width(), size.height());
            }
            painter.drawImage(target, image);
        }
        break;
    case ObjectType::Line:
        painter.setPen(pen);
        painter.drawLine(rect.topLeft(), rect.bottomRight());
        return;
    case ObjectType::Rect:
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect);
        return;
    }
    if (object.frame.isEmpty())
        return;
    painter.setPen(pen);
    if (object.frame.contains(QLatin1Char('L')))
        painter.drawLine(rect.topLeft(), rect.bottomLeft());
    if (object.frame.contains(QLatin1Char('T')))
        painter.drawLine(rect.topLeft(), rect.topRight());
    if (object.frame.contains(QLatin1Char('R')))
        painter.drawLine(rect.topRight(), rect.bottomRight());
    if (object.frame.contains(QLatin1Char('B')))
        painter.drawLine(rect.bottomLeft(), rect.bottomRight());
}
