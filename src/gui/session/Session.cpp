#include "session/Session.h"

#include "concordance/FormSearch.h"
#include "concordance/GridHeader.h"
#include "platform/TextCodec.h"

namespace quorvex {

Session::Session(QObject* parent) : QObject(parent) { prepareGrid(m_results); }

FileError Session::loadLatinText()
{
    // The date of the search holds whole seconds.
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime moment(now.date(), QTime(now.time().hour(), now.time().minute(),
                                             now.time().second()));
    TextReadResult latin = readText(toPath(m_latinPath));
    if (latin.error)
        return latin.error;
    adoptLatinText(std::move(latin.text));
    m_loadMoment = moment;
    return {};
}

void Session::adoptLatinText(std::string text)
{
    m_words = WordTable::segment(std::move(text));
    m_loadMoment = QDateTime(QDate::currentDate(), QTime(QTime::currentTime().hour(),
                                                         QTime::currentTime().minute(),
                                                         QTime::currentTime().second()));
    m_results = GridModel();
    prepareGrid(m_results);
    emit resultsReset();
}

std::size_t Session::search(const QString& typedForm)
{
    const std::size_t found = searchIntoGrid(m_words, toCp1252(typedForm), m_results);
    emit resultsReset();
    return found;
}

void Session::sortByForm()
{
    // The keys run from column 0 to the current column.
    m_results.setColSel(0);
    m_results.sort();
    emit resultsReset();
}

void Session::setCurrentCell(std::size_t row, int column)
{
    m_results.setRow(row);
    m_results.setCol(column);
    emit currentCellChanged();
}

} // namespace quorvex
