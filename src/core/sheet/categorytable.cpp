#include "categorytable.h"

namespace CategoryTable {

QStringList names()
{
    return {
        QStringLiteral("Permits, Fees, Surveys"),
        QStringLiteral("Utilities"),
        QStringLiteral("Excavation"),
        QStringLiteral("Foundation"),
        QStringLiteral("Rough Lumber"),
        QStringLiteral("Rough Labor"),
        QStringLiteral("Windows/Ext. Doors"),
        QStringLiteral("Roofing"),
        QStringLiteral("Concrete Flatwork"),
        QStringLiteral("Siding"),
        QStringLiteral("Plumbing"),
        QStringLiteral("Heating"),
        QStringLiteral("Electrical"),
        QStringLiteral("Insulation"),
        QStringLiteral("Water (Well)"),
        QStringLiteral("Sewer (Septic)"),
        QStringLiteral("Fireplace"),
        QStringLiteral("Drywall"),
        QStringLiteral("Cabinets"),
        QStringLiteral("Interior Trim"),
        QStringLiteral("Interior Trim Labor"),
        QStringLiteral("Painting"),
        QStringLiteral("Appliances"),
        QStringLiteral("Light Fixtures"),
        QStringLiteral("Floor Coverings"),
        QStringLiteral("Driveway"),
        QStringLiteral("Garage Door"),
        QStringLiteral("Land"),
        QStringLiteral("Misc."),
        QStringLiteral("Other"),
    };
}

QStringList helpTexts()
{
    return {
        QStringLiteral("Your building inspection department can give you the cost of permits and fees, which vary by "
                       "locale. Permits in some areas include water and sewer tap-in fees."),
        QStringLiteral("(electric, gas, phone, cable): Check with your local utility companies."),
        QStringLiteral("can include temporary driveways, backfill, and rough & final grading, any needed sand, gravel, "
                       "or stone. Get written bids."),
        QStringLiteral("Concrete or masonry walls, or slab. Get written bids."),
        QStringLiteral("This includes all materials except windows, doors, and roof shingles (although it can include "
                       "those as well). Be sure any roof trusses are included."),
        QStringLiteral("This is the labor required to bring the house to the dry-in stage (weather-tight)."),
        QStringLiteral("This cost is simple to estimate since you will have an exact count."),
        QStringLiteral("Roofs are measured ,estimated and paid for by squares.(10'x10' = 100 sq.ft. = one square)"),
        QStringLiteral("(slabs, garage floors, basement floors)This refers to smooth finish concrete work, not rough "
                       "finish as in driveways, patios, and walks. Get a written bid."),
        QStringLiteral(
            "From brick to vinyl, you can get an accurate bid from subcontractors that includes the cost of siding "
            "materials and any flashing required around windows and doors. Be sure to include soffits and fascias."),
        QStringLiteral(
            "This bid should include all fixtures such as toilets, sinks, and water heater & the labor to install."),
        QStringLiteral(
            "Use heating and air-conditioning systems recommended by your local utility company experts. Cost of "
            "installation should include proper ventilation for bathrooms, the kitchen, and clothes dryer."),
        QStringLiteral("In addition to electrical wiring costs, this bid should include all switches, receptacles, "
                       "wires, panels and breakers, wiring of all built-in appliances, cable and phone & internet "
                       "wiring, and compliance with codes."),
        QStringLiteral("Get a bid per local code for minimum insulation. To get the maximum insulation for number of "
                       "dollars spent, consult your local utility company experts."),
        QStringLiteral("For water tap-in fees, call your local municipality. For a well, get a firm maximum bid as "
                       "well as a drilling price per linear foot drilled."),
        QStringLiteral("For a sewer tap-in fee, call your local municipality. For the price of a septic field, get a "
                       "written bid from a local contractor. Note: Alternative types of septic systems for clay soil, "
                       "high water tables, etc. are very expensive but usually doable."),
        QStringLiteral("Whether it is masonry or an installed prefab, get a bid in writing."),
        QStringLiteral("Bids should include labor and materials to hang the wallboard, tape joints, and finish with "
                       "joint compound (two coats)."),
        QStringLiteral("Bids should include kitchen cabinets and bathroom vanity cabinets. Labor to install should be "
                       "included in the carpenter's trim labor. Bids for any type of countertops and labor to install "
                       "should be entered here as well."),
        QStringLiteral("A bid from the lumber supplier should include all interior doors, moldings, closet shelves, "
                       "and stairway trim. It should also include any required carpet underlayment."),
        QStringLiteral("You should get a bid to install all the materials for both cabinets and interior trim, above."),
        QStringLiteral("Owner/builders often skimp on this category by planning to do it themselves. But it is still "
                       "smart to get an estimate, even if just for the materials."),
        QStringLiteral(
            "Use a dollar allowance in your estimate that you feel is adequate to get the appliances you want."),
        QStringLiteral(
            "Use a dollar allowance in your estimate that you feel is adequate to get the light fixtures you want."),
        QStringLiteral("Use a dollar allowance in your estimate that you feel is adequate."),
        QStringLiteral("Depending on the material used, get a bid in writing based on the square footage of the area "
                       "to be covered."),
        QString::fromUtf16(u"If you can still afford one, get a price from your local lumber company or a garage door "
                           u"company  \u2014installed."),
        QStringLiteral("Enter what you paid or are paying, not what it may be worth now."),
        QStringLiteral("Allow a minimum of 5% of the total. 10% would be more realistic.You will use it all!"),
        QStringLiteral("Anything not included above, i.e., fences, sidewalks, decks, swimming pools, saunas, pole "
                       "barns, etc. Additional spaces below as needed."),
    };
}

}
