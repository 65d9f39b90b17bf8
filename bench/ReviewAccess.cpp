#include "ReviewAccess.h"

#include "Form1.h"
#include "ListMenu.h"
#include "NearDuplicateReview.h"
#include "NearDuplicatesDialog.h"
#include "NearGroupsModel.h"
#include "SpellingSlips.h"

NearDuplicatesDialog &reviewDialog(Form1 &form)
{
    return *form.nearDuplicates().dialog();
}

const NearGroups &reviewGroups(Form1 &form)
{
    return form.nearDuplicates().model().groups();
}

bool refusedAsTooMany(Form1 &form)
{
    return form.nearDuplicates().model().showing() == NearGroupsModel::Showing::TooManySlips;
}

QString reviewOutcome(Form1 &form)
{
    using Showing = NearGroupsModel::Showing;
    switch (form.nearDuplicates().model().showing()) {
    case Showing::TooManySlips:
        return QStringLiteral("REFUSED: more than %1 possible slip pairs").arg(Slips::kMostPairs);
    case Showing::Cancelled:
        return QStringLiteral("cancelled");
    case Showing::Failed:
        return QStringLiteral("FAILED");
    default:
        return reviewDialog(form).summary();
    }
}
