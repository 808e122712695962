#include "table/spokenchain.h"

#include "table/chainlayout.h"
#include "table/form1.h"
#include "table/pictures.h"

#include <deque>
#include <utility>

namespace accessibility
{

namespace
{

constexpr int kHighestPips = 6;

// The tiles on the table as pairs of halves, in the order they were laid: the faces among the
// table's pictures come two by two, the matching half first, the dividers between them.
std::vector<std::pair<Picture*, Picture*>> tilesAsLaid(const Form1& form)
{
    std::vector<Picture*> halves;
    for (int i = 1; i < form.Image3.Count(); ++i) {
        if (pipsShown(*form.Image3(i)) >= 0)
            halves.push_back(form.Image3(i));
    }
    std::vector<std::pair<Picture*, Picture*>> tiles;
    for (std::size_t i = 0; i + 1 < halves.size(); i += 2)
        tiles.emplace_back(halves[i], halves[i + 1]);
    return tiles;
}

} // namespace

int pipsShown(const Picture& half)
{
    for (int pips = 0; pips <= kHighestPips; ++pips) {
        if (half.picture() == pictures::face(pips))
            return pips;
    }
    return -1;
}

std::vector<ChainTile> chainFromEndToEnd(const Form1& form)
{
    const auto laid = tilesAsLaid(form);
    if (laid.empty())
        return {};
    // Each tile after the opening is laid again, in the order it was laid, at both ends: the end
    // whose next place is where its matching half stands is the end it went to.
    const auto limits =
        chain::limitsOf(form.Label1->Left(), form.Label1->Width(), form.Image1(0)->Width());
    chain::EndState ends[2] = {chain::openingEnd(1, form.Shape2->Left(), form.Shape2->Top()),
                               chain::openingEnd(2, form.Shape2->Left(), form.Shape2->Top())};
    std::deque<ChainTile> chain{
        {laid.front().first, pipsShown(*laid.front().first), pipsShown(*laid.front().second)}};
    for (std::size_t i = 1; i < laid.size(); ++i) {
        Picture* matching = laid[i].first;
        const int inner = pipsShown(*matching);
        const int outer = pipsShown(*laid[i].second);
        const auto atEnd1 = chain::place(ends[0], 1, inner == outer, limits);
        if (atEnd1.a == QPointF(matching->Left(), matching->Top())) {
            ends[0] = atEnd1.next;
            chain.push_front({matching, outer, inner});
        } else {
            ends[1] = chain::place(ends[1], 2, inner == outer, limits).next;
            chain.push_back({matching, inner, outer});
        }
    }
    return {chain.begin(), chain.end()};
}

} // namespace accessibility
