#include "windows/tools/FormsWindow.h"

#include "concordance/FormExclusion.h"
#include "platform/MessageBoxes.h"
#include "platform/TextCodec.h"
#include "session/Session.h"
#include "windows/WindowDirectory.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <unordered_set>

namespace quorvex {

void FormsModel::adopt(std::vector<Row>& rows)
{
    beginResetModel();
    m_rows.swap(rows);
    endResetModel();
}

int FormsModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(m_rows.size()); }

int FormsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant FormsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || std::size_t(index.row()) >= m_rows.size())
        return {};
    const Row& row = m_rows[std::size_t(index.row())];
    if (role == Qt::DisplayRole)
        return index.column() == 0 ? QVariant(row.form) : QVariant(QString::number(row.count));
    if (role == Qt::CheckStateRole && index.column() == 0)
        return row.left ? Qt::Unchecked : Qt::Checked;
    if (role == Qt::TextAlignmentRole && index.column() == 1)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant FormsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return section == 0 ? QStringLiteral("Forme") : QStringLiteral("Attestations");
}

Qt::ItemFlags FormsModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == 0)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

bool FormsModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || !index.isValid() || index.column() != 0
        || std::size_t(index.row()) >= m_rows.size())
        return false;
    const bool checked = value.toInt() == Qt::Checked;
    if (checked == !m_rows[std::size_t(index.row())].left)
        return false;
    emit checkToggled(index.row(), checked);
    return true;
}

FormsWindow::FormsWindow(WindowDirectory& windows, QWidget* searchWindow)
    : ToolWindow(windows, searchWindow, "frmFormes", QStringLiteral("Formes"))
{
    m_lemmaLabel = new QLabel(this);
    m_lemmaLabel->setObjectName(QStringLiteral("legende"));
    m_lemmaLabel->setTextFormat(Qt::PlainText);
    m_lemmaLabel->setWordWrap(true);
    m_model = new FormsModel(this);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("tableau"));
    m_table->setModel(m_model);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setToolTip(QStringLiteral("Décochez une forme pour la retirer de la liste, cochez-la pour l'y remettre"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lemmaLabel);
    layout->addWidget(m_table);
    resize(380, 420);
    m_table->setFocus();  // the keyboard starts on the rows, not on the controls above them
    connect(m_model, &FormsModel::checkToggled, this, &FormsWindow::onCheckToggled);
}

bool FormsWindow::rebuild(ToolProgress& progress)
{
    const SearchChoices& choices = m_session.choices();
    const bool ofLemma = choices.asked.lemma && m_session.searched();
    std::vector<FormsModel::Row> rows;
    if (ofLemma) {
        if (!progress.advance(0, 1))
            return false;
        const std::vector<AttestedForm> forms = m_session.formsOfTheLemma();
        // A form is left out when it folds as one of the forms unchecked does.
        std::unordered_set<std::string> left;
        for (const std::string& form : choices.asked.excludedForms)
            left.insert(folded(form, m_session.folding()));
        rows.reserve(forms.size());
        for (const AttestedForm& f : forms)
            rows.push_back({fromCp1252(f.form), f.count, left.count(folded(f.form, m_session.folding())) > 0});
        if (!progress.advance(1, 1))
            return false;
    }
    const QString caption =
        ofLemma ? QStringLiteral("Formes du lemme « %1 » dans le texte :").arg(m_session.listQuery())
                : QStringLiteral("La liste n'est pas celle d'un lemme : cochez « Recherche par lemme » dans "
                                 "« Outils » et cherchez un lemme.");
    // A box toggled from the keyboard refills the table: the cursor stays on its form, so that
    // a second space takes it back.
    const QModelIndex current = m_table->currentIndex();
    const QString currentForm = current.isValid() ? m_model->rows()[std::size_t(current.row())].form : QString();
    m_model->adopt(rows);
    m_lemmaLabel->setText(caption);
    const std::vector<FormsModel::Row>& shown = m_model->rows();
    std::size_t row = 0;
    while (current.isValid() && row < shown.size() && shown[row].form != currentForm)
        ++row;
    // Else the first form, on its box, so that the space bar toggles it at once.
    if (row == shown.size())
        row = 0;
    if (!shown.empty())
        m_table->setCurrentIndex(m_model->index(int(row), current.isValid() ? current.column() : 0));
    return true;
}

void FormsWindow::onCheckToggled(int row, bool checked)
{
    const QString form = m_model->rows()[std::size_t(row)].form;
    SearchChoices choices = m_session.choices();
    if (checked) {
        // Taken back under whichever spelling it was left out.
        const std::string key = folded(toCp1252(form), m_session.folding());
        std::vector<std::string>& excluded = choices.asked.excludedForms;
        excluded.erase(std::remove_if(excluded.begin(), excluded.end(),
                                      [&](const std::string& f) { return folded(f, m_session.folding()) == key; }),
                       excluded.end());
    } else {
        choices.asked.excludedForms.push_back(toCp1252(form));
    }
    searchAgainWith(choices,
                    QStringLiteral("Mémoire insuffisante pour retirer ou remettre la forme : la liste est conservée."));
}

} // namespace quorvex
