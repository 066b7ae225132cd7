// SPDX-FileCopyrightText: 2026 The WEQBarCode authors
// SPDX-License-Identifier: MIT

#include "Labels.h"

#include "Checks.h"
#include "Interrupt.h"
#include "Paths.h"
#include "Sheet.h"
#include "Text.h"

#include <WEQBarCode/ean/Units.h>

#include <QBuffer>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cmath>
#include <shared_mutex>

namespace WEQCli {

namespace {

// Without --dpi a template's PDF is drawn on micrometres, as the other
// vector output.
constexpr int VectorDpi = WEQEan::MicrometresPerInch;
// Beyond this a label's image is more than any printer takes (1 GB).
constexpr double MaxLabelPixels = double(1 << 28);

QColor ToQColor(TColor C) { return QColor(int(C & 0xFF), int(C >> 8 & 0xFF), int(C >> 16 & 0xFF)); }

// The dpi a label's symbol is drawn at: the printer's, the PNG's, or the
// vector files' micrometres.
int LabelDpi(const TOptions& O)
{
    return O.Format == TFormat::Png && !OnePdf(O) ? O.Dpi : O.Export.PrinterDpi ? O.Export.PrinterDpi : VectorDpi;
}

// A place on the page on the printer's dots, where there is a printer.
double OnDots(double MM, const TOptions& O)
{
    const int Dpi = O.Export.PrinterDpi;
    return Dpi ? std::round(MM * Dpi / WEQEan::MillimetresPerInch) * WEQEan::MillimetresPerInch / Dpi : MM;
}

QPageSize PageOf(double WidthMM, double HeightMM)
{
    return QPageSize(QSizeF(WidthMM, HeightMM), QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
}

// Qt's PDF engine writing into a file that appears whole or not at all, in
// blocks rather than in its many small writes.
class TFileDevice final : public QIODevice {
public:
    explicit TFileDevice(WEQEan::TAtomicFile& File) : File(File) { open(QIODevice::WriteOnly); }
    bool Flush()
    {
        if (!Failure.isEmpty())
            return false;
        if (!Pending.isEmpty() && !File.Write(Pending.constData(), std::size_t(Pending.size()), &Failure))
            return false;
        Pending.clear();
        return true;
    }
    QString Failure;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* Data, qint64 Size) override
    {
        Pending.append(Data, Size);
        constexpr qsizetype Block = 1 << 16;
        return Pending.size() < Block || Flush() ? Size : -1;
    }

private:
    WEQEan::TAtomicFile& File;
    QByteArray Pending;
};

} // namespace

bool PrepareTemplate(const TItemSource& Source, const TOptions& O, TOptions& Job, WEQ::LabelTemplate& Template,
                     std::string& Error)
{
    Job = O;
    Template = WEQ::LabelTemplate(QString::fromStdString(O.Template));
    if (!Template.isValid()) {
        Error = "the template " + O.Template + ": " + Clause(Template.errorString());
        return false;
    }
    for (const QString& Field : Template.fields()) {
        if (Field == QLatin1String("gtin") || Field == QLatin1String("n"))
            continue;
        const std::string Name = Field.toStdString();
        if (O.GtinColumn.empty()) {
            Error = "the template's placeholder {" + Name + "} has no value: only {gtin} and {n} are filled in "
                    "without the columns of --gtin-column";
            return false;
        }
        for (const auto& [Input, Header] : Source.Headers())
            if (std::find(Header.begin(), Header.end(), Name) == Header.end()) {
                Error = "the template's placeholder {" + Name + "} is no column of " + Input + "'s header (";
                for (std::size_t I = 0; I < Header.size(); ++I)
                    Error += (I ? ", " : "") + Quote(Header[I], 24);
                Error += "); placeholders match the header as written";
                return false;
            }
    }
    const QSizeF Size = Template.size();
    if (O.LabelWidthMM > 0 &&
        (std::abs(O.LabelWidthMM - Size.width()) > 0.01 || std::abs(O.LabelHeightMM - Size.height()) > 0.01)) {
        Error = "--label " + Mm(O.LabelWidthMM) + " x " + Mm(O.LabelHeightMM) + " mm is not the template's " +
                Mm(Size.width()) + " x " + Mm(Size.height()) + " mm";
        return false;
    }
    Job.TemplateWidthMM = Size.width();
    Job.TemplateHeightMM = Size.height();
    if (O.Format == TFormat::Png && !OnePdf(O) &&
        Size.width() * O.Dpi / WEQEan::MillimetresPerInch * Size.height() * O.Dpi / WEQEan::MillimetresPerInch >
            MaxLabelPixels) {
        Error = "a label of " + Mm(Size.width()) + " x " + Mm(Size.height()) + " mm at " + std::to_string(O.Dpi) +
                " dpi is more dots than an image may have";
        return false;
    }
    // Every symbology the job may draw, with the --add-on's digits, fits the
    // box; its bars are as tall as the box lets the job's own be.
    bool First = true;
    for (const WEQEan::TSymbology S : Symbologies(O)) {
        TItem Sample;
        Sample.Reading = SampleReading(S, O.Reading.Options.AddOn.size(), O.Reading.Kind >= WEQEan::TKind::Auto);
        QString Why;
        const WEQ::Barcode Fitted = Template.fittedBarcode(BarcodeOf(Sample, O), LabelDpi(O), &Why);
        if (!Fitted.isValid()) {
            Error = "the template " + O.Template + ": " + Clause(Why);
            return false;
        }
        if (First && Fitted.barHeight() != O.Export.BarHeightMM)
            Job.Export.BarHeightMM = Fitted.barHeight();
        First = false;
    }
    return true;
}

WEQ::Barcode BarcodeOf(const TItem& Item, const TOptions& O)
{
    const WEQEan::TEanReading& R = Item.Reading;
    // The family's symbols by their digits; books, music and serials by
    // theirs too, which the value type recognises with their number line.
    const bool Family = O.Reading.Kind <= WEQEan::TKind::UpcE ||
                        (O.Reading.Kind == WEQEan::TKind::Auto && R.Line.empty());
    WEQ::Barcode B(QString::fromLatin1(R.Data.data(), qsizetype(R.Data.size())),
                   Family ? WEQ::Barcode::Symbology(R.Symbology) : WEQ::Barcode::Auto);
    B.setAddOn(QString::fromLatin1(R.AddOn.data(), qsizetype(R.AddOn.size())));
    B.setXDimension(O.Export.XDimensionMM);
    B.setBarHeight(O.Export.BarHeightMM);
    B.setBarWidthReduction(O.Export.BarWidthReductionMM);
    // Qt's PDF engine and the images hold RGB: each ink as its sRGB equivalent.
    const WEQEan::TExportOptions& E = O.Export;
    const auto Rgb = [](const std::optional<WEQEan::TInk>& Ink, TColor Color) {
        return ToQColor(Ink ? WEQEan::InkColor(*Ink) : Color);
    };
    const bool NoBackground =
        E.BackgroundInk ? E.BackgroundInk->Kind == WEQEan::TInk::None : !E.FillBackground;
    B.setBarColor(Rgb(E.BarInk, E.BarColor));
    B.setBackgroundColor(NoBackground ? QColor(Qt::transparent) : Rgb(E.BackgroundInk, E.BackgroundColor));
    B.setTextColor(E.FontInk || !E.BarInk ? Rgb(E.FontInk, E.FontColor) : Rgb(E.BarInk, E.BarColor));
    B.setQuietZoneMarks(O.Export.DrawRightDelimiter);
    return B;
}

QHash<QString, QString> ValuesOf(const TItem& Item)
{
    QHash<QString, QString> Values;
    Values.insert(QStringLiteral("n"), QString::number(Item.Number));
    if (Item.Columns)
        for (std::size_t I = Item.Fields.size(); I-- > 0;) // the first of two columns of one name wins
            if (I < Item.Columns->size())
                Values.insert(QString::fromStdString((*Item.Columns)[I]), QString::fromStdString(Item.Fields[I]));
    return Values;
}

TBatchResult WriteTemplateSheet(TItemSource& Source, const TOptions& O, const WEQ::LabelTemplate& Template,
                                TProgress& Progress)
{
    TBatchResult R;
    TSheetLayout L;
    std::shared_lock<std::shared_timed_mutex> Guard;
    if (!StartOnePdf(O, L, Guard, R))
        return R;
    WEQEan::TAtomicFile File;
    QString Reason;
    if (!File.Open(QString::fromStdString(O.Output), &Reason)) {
        R.Failure = Clause(Reason);
        return R;
    }
    TFileDevice Device(File);
    const double PageW = O.Roll ? L.CellWidthMM : O.Sheet->WidthMM, PageH = O.Roll ? L.CellHeightMM : O.Sheet->HeightMM;
    std::size_t Labels = 0;
    const std::size_t PerPage = std::size_t(L.Columns) * std::size_t(L.Rows);
    {
        QPdfWriter Pdf(&Device);
        Pdf.setCreator(QStringLiteral("weqbarcode"));
        Pdf.setTitle(QStringLiteral("Labels"));
        Pdf.setPageSize(PageOf(PageW, PageH));
        Pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        Pdf.setResolution(LabelDpi(O));
        QPainter Painter;
        if (!Painter.begin(&Pdf)) {
            R.Failure = "cannot make " + O.Output + ": Qt's PDF engine does not start";
            return R;
        }
        const double Dot = WEQEan::MillimetresPerInch / LabelDpi(O);
        TPrintChecks Checks(O);
        TItem Item;
        while (!Interrupt::Requested() && Source.Next(Item)) {
            ++R.Items;
            Progress.Update(Labels + R.Rejected);
            if (!Checks.Admit(Item, Source, Progress)) {
                ++R.Rejected;
                continue;
            }
            const WEQ::Barcode Symbol = BarcodeOf(Item, O);
            QString Why;
            // A symbol its own add-on makes wider than the box is the item's fault.
            if (!Template.fittedBarcode(Symbol, LabelDpi(O), &Why).isValid()) {
                ++R.Rejected;
                Progress.Print(Source.Where(Item.Input, Item.Line) + ": " + Clause(Why));
                continue;
            }
            const std::size_t OnPage = Labels % PerPage;
            if (Labels > 0 && OnPage == 0)
                Pdf.newPage();
            const int Column = int(OnPage % std::size_t(L.Columns)), Row = int(OnPage / std::size_t(L.Columns));
            // The painter's units are the writer's dots; the label's place is in mm.
            const QPointF At(OnDots(L.CellLeft(Column), O), OnDots(L.CellTop(Row), O));
            if (!Template.paint(&Painter, At, Symbol, ValuesOf(Item), &Why)) {
                R.Failure = "cannot make " + O.Output + ": " + Clause(Why);
                break;
            }
            if (O.CropMarks) {
                Painter.save();
                Painter.setPen(QPen(Qt::black, CropMarkWidthMM / Dot, Qt::SolidLine, Qt::FlatCap));
                for (const TCropMark& M : CropMarks(L, *O.Sheet, Column, Row))
                    Painter.drawLine(QPointF(M.X1, M.Y1) / Dot, QPointF(M.X2, M.Y2) / Dot);
                Painter.restore();
            }
            ++Labels;
            if (O.Verify) {
                bool Below = false;
                std::string Line;
                const std::string Name = O.Output + ", page " + std::to_string((Labels - 1) / PerPage + 1) +
                                         (O.Roll ? "" : ", label " + std::to_string(OnPage + 1));
                WEQEan::TExportOptions E = O.Export;
                E.BarHeightMM = Template.fittedBarcode(Symbol, LabelDpi(O)).barHeight();
                const std::string Graded =
                    GradeLine(Name, WEQEan::GradeSymbol(Item.Reading, E, MeasureDpi(O)), O, Below, Line);
                if (!O.Quiet)
                    std::fputs((Escape(Graded) + '\n').c_str(), stdout);
                if (Below) {
                    ++R.BelowGrade;
                    Progress.Print(Line);
                }
            }
        }
        Painter.end();
    }
    if ((R.Interrupted = Interrupt::Requested() != 0))
        return R; // the file discards its temporary while the lock is held
    if (R.Failure.empty())
        R.Failure = Source.Error();
    if (!R.Failure.empty())
        return R;
    // No label, no file: a file already there stays as it was.
    if (Labels == 0) {
        Progress.Finish(R.Rejected);
        return R;
    }
    if (!Device.Flush() || !File.Commit(true, &Reason)) {
        R.Failure = Clause(Device.Failure.isEmpty() ? Reason : Device.Failure);
        return R;
    }
    R.Written = Labels;
    Progress.Finish(Labels + R.Rejected);
    return R;
}

bool EncodeLabel(const TItem& Item, const TOptions& O, const WEQ::LabelTemplate& Template, QByteArray& Bytes,
                 std::string& Error)
{
    const QSizeF Size = Template.size();
    const WEQ::Barcode Symbol = BarcodeOf(Item, O);
    QString Why;
    bool Drawn = false;
    Bytes.clear();
    if (O.Format == TFormat::Png) {
        const double PerMM = O.Dpi / WEQEan::MillimetresPerInch;
        QImage Image(int(std::lround(Size.width() * PerMM)), int(std::lround(Size.height() * PerMM)),
                     QImage::Format_RGB32);
        if (Image.isNull()) {
            Error = "not enough memory for a label of " + Mm(Size.width()) + " x " + Mm(Size.height()) + " mm";
            return false;
        }
        Image.fill(Qt::white);
        const int DotsPerMetre = int(std::lround(O.Dpi / 0.0254));
        Image.setDotsPerMeterX(DotsPerMetre);
        Image.setDotsPerMeterY(DotsPerMetre);
        {
            QPainter Painter(&Image);
            Drawn = Template.paint(&Painter, QPointF(0, 0), Symbol, ValuesOf(Item), &Why);
        }
        QBuffer Buffer(&Bytes);
        Buffer.open(QIODevice::WriteOnly);
        if (Drawn && !QImageWriter(&Buffer, "png").write(Image))
            Why = QStringLiteral("Cannot encode the image as PNG");
        Drawn = Drawn && !Bytes.isEmpty();
    } else {
        QBuffer Buffer(&Bytes);
        Buffer.open(QIODevice::WriteOnly);
        QPdfWriter Pdf(&Buffer);
        Pdf.setCreator(QStringLiteral("weqbarcode"));
        Pdf.setTitle(QString::fromStdString(Item.Gtin()));
        Pdf.setPageSize(PageOf(Size.width(), Size.height()));
        Pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        Pdf.setResolution(LabelDpi(O));
        QPainter Painter(&Pdf);
        Drawn = Template.paint(&Painter, QPointF(0, 0), Symbol, ValuesOf(Item), &Why);
        Drawn = Painter.end() && Drawn; // the file's end is written here
    }
    if (!Drawn)
        Error = Clause(Why);
    return Drawn;
}

} // namespace WEQCli
