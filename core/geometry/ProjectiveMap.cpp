#include "geometry/ProjectiveMap.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <utility>

namespace kavelto {

namespace {

using Matrix3 = std::array<double, 9>;

// h[0] to h[7]; h[8] is 1 in normalised coordinates, where the map sends the board's centroid
// to a finite pixel. The affine map leaves out h[6] and h[7].
constexpr std::size_t kProjectiveUnknowns = 8;
constexpr std::size_t kAffineUnknowns = 6;

// A pivot this much smaller than the largest diagonal entry of the normal equations counts as
// zero: the pairs leave the map undetermined, as board positions on one line do.
constexpr double kSingularPivot = 1e-12;

// In normalised coordinates w is 1 at the board's centroid and falls to 0 at the horizon. A
// camera at the bench never sees one part of the board five times farther than the centroid.
constexpr double kLeastDepth = 0.2;

// Both sides are normalised to the same spread, so a sound map keeps areas at the centroid near
// their size. Beyond this factor either way the pixels crush the board toward a line (or the
// board positions lie almost on one and the pixels do not): the pairs contradict each other.
constexpr double kAreaFactorLimit = 16.0;

// Two board positions closer together than this part of the widest distance in the set pin the
// map down no better than one would: the fit amplifies a pixel's error by the inverse of the
// ratio, as for positions on one line. No two parts of a board lie that close.
constexpr double kLeastSeparation = 1e-3;

Matrix3 Multiply(const Matrix3& a, const Matrix3& b) {
    Matrix3 product{};
    for (std::size_t row = 0; row < 3; ++row)
        for (std::size_t column = 0; column < 3; ++column)
            for (std::size_t k = 0; k < 3; ++k)
                product[row * 3 + column] += a[row * 3 + k] * b[k * 3 + column];
    return product;
}

// Moves points to their centroid and scales them to a mean distance of sqrt(2) from it, so
// that the equations' entries are near 1 whatever the units of the board and the picture.
struct Normalisation {
    PlanePoint centre;
    double scale;

    PlanePoint apply(PlanePoint p) const {
        return {(p.x - centre.x) * scale, (p.y - centre.y) * scale};
    }
    Matrix3 matrix() const {
        return {scale, 0, -scale * centre.x, 0, scale, -scale * centre.y, 0, 0, 1};
    }
    Matrix3 inverse() const { return {1 / scale, 0, centre.x, 0, 1 / scale, centre.y, 0, 0, 1}; }
};

// Nothing for points that all coincide, or that are not finite.
std::optional<Normalisation> Normalise(const std::vector<PlanePoint>& points) {
    PlanePoint centre{0, 0};
    for (const PlanePoint& p : points) {
        centre.x += p.x;
        centre.y += p.y;
    }
    const double count = static_cast<double>(points.size());
    centre = {centre.x / count, centre.y / count};
    double distance = 0;
    for (const PlanePoint& p : points)
        distance += std::hypot(p.x - centre.x, p.y - centre.y);
    const double scale = std::sqrt(2.0) * count / distance;
    if (!std::isfinite(scale) || !std::isfinite(centre.x) || !std::isfinite(centre.y))
        return std::nullopt;
    return Normalisation{centre, scale};
}

// Whether every two board positions lie apart by at least kLeastSeparation of the widest
// distance between two of them.
bool IsWellSpread(const std::vector<PlanePoint>& board) {
    double nearest = std::numeric_limits<double>::infinity();
    double widest = 0;
    for (std::size_t i = 0; i < board.size(); ++i)
        for (std::size_t j = i + 1; j < board.size(); ++j) {
            const double distance = std::hypot(board[i].x - board[j].x, board[i].y - board[j].y);
            nearest = std::min(nearest, distance);
            widest = std::max(widest, distance);
        }
    return nearest >= kLeastSeparation * widest;
}

// The least-squares solution of an overdetermined linear system, through its normal equations:
// the normalisation keeps them well conditioned.
class NormalEquations {
public:
    using Vector = std::array<double, kProjectiveUnknowns>;

    explicit NormalEquations(std::size_t unknowns) : unknowns_(unknowns) {}

    // One equation row * u = value; only the first unknowns entries of row count.
    void add(const Vector& row, double value) {
        for (std::size_t i = 0; i < unknowns_; ++i) {
            for (std::size_t j = 0; j < unknowns_; ++j)
                system_[i][j] += row[i] * row[j];
            system_[i][unknowns_] += row[i] * value;
        }
    }

    // Gaussian elimination with partial pivoting; the unknowns left out stay 0.
    std::optional<Vector> solve() const {
        auto a = system_;
        double largest = 0;
        for (std::size_t i = 0; i < unknowns_; ++i)
            largest = std::max(largest, a[i][i]);
        for (std::size_t column = 0; column < unknowns_; ++column) {
            std::size_t pivot = column;
            for (std::size_t row = column + 1; row < unknowns_; ++row)
                if (std::fabs(a[row][column]) > std::fabs(a[pivot][column]))
                    pivot = row;
            if (!(std::fabs(a[pivot][column]) > kSingularPivot * largest))
                return std::nullopt;
            std::swap(a[column], a[pivot]);
            for (std::size_t row = column + 1; row < unknowns_; ++row) {
                const double factor = a[row][column] / a[column][column];
                for (std::size_t k = column; k <= unknowns_; ++k)
                    a[row][k] -= factor * a[column][k];
            }
        }
        Vector u{};
        for (std::size_t i = unknowns_; i-- > 0;) {
            double sum = a[i][unknowns_];
            for (std::size_t k = i + 1; k < unknowns_; ++k)
                sum -= a[i][k] * u[k];
            u[i] = sum / a[i][i];
        }
        return u;
    }

private:
    std::size_t unknowns_;
    // The normal matrix with the right-hand side as its last column.
    std::array<std::array<double, kProjectiveUnknowns + 1>, kProjectiveUnknowns> system_{};
};

// A map in normalised coordinates that keeps every pair well in front of the camera and
// changes areas at the centroid (where w is 1) by a bounded factor.
bool IsSound(const Matrix3& m, const std::vector<PlanePoint>& board) {
    for (const PlanePoint& b : board)
        if (!(m[6] * b.x + m[7] * b.y + 1 > kLeastDepth))
            return false;
    const double area =
        (m[0] - m[6] * m[2]) * (m[4] - m[7] * m[5]) - (m[1] - m[7] * m[2]) * (m[3] - m[6] * m[5]);
    return std::fabs(area) > 1 / kAreaFactorLimit && std::fabs(area) < kAreaFactorLimit;
}

} // namespace

std::optional<PlanePoint> MapPoint(const ProjectiveMap& map, PlanePoint board) {
    const Matrix3& h = map.h;
    const double w = h[6] * board.x + h[7] * board.y + h[8];
    if (!(w > 0))
        return std::nullopt;
    const PlanePoint pixel{(h[0] * board.x + h[1] * board.y + h[2]) / w,
                           (h[3] * board.x + h[4] * board.y + h[5]) / w};
    if (!std::isfinite(pixel.x) || !std::isfinite(pixel.y))
        return std::nullopt;
    return pixel;
}

PlanePoint BoardXDirection(const ProjectiveMap& map, PlanePoint board) {
    const Matrix3& h = map.h;
    const double w = h[6] * board.x + h[7] * board.y + h[8];
    const double x = (h[0] * board.x + h[1] * board.y + h[2]) / w;
    const double y = (h[3] * board.x + h[4] * board.y + h[5]) / w;
    return {(h[0] - x * h[6]) / w, (h[3] - y * h[6]) / w};
}

std::optional<ProjectiveMap> FitProjectiveMap(const std::vector<CalPoint>& points) {
    if (points.size() < 3)
        return std::nullopt;
    std::vector<PlanePoint> board;
    std::vector<PlanePoint> pixels;
    for (const CalPoint& p : points) {
        board.push_back({p.boardX, p.boardY});
        pixels.push_back({static_cast<double>(p.pixelX), static_cast<double>(p.pixelY)});
    }
    if (!IsWellSpread(board))
        return std::nullopt;
    const std::optional<Normalisation> fromBoard = Normalise(board);
    const std::optional<Normalisation> fromPixels = Normalise(pixels);
    if (!fromBoard || !fromPixels)
        return std::nullopt;
    NormalEquations equations(points.size() == 3 ? kAffineUnknowns : kProjectiveUnknowns);
    for (std::size_t i = 0; i < points.size(); ++i) {
        board[i] = fromBoard->apply(board[i]);
        const PlanePoint b = board[i];
        const PlanePoint q = fromPixels->apply(pixels[i]);
        equations.add({b.x, b.y, 1, 0, 0, 0, -b.x * q.x, -b.y * q.x}, q.x);
        equations.add({0, 0, 0, b.x, b.y, 1, -b.x * q.y, -b.y * q.y}, q.y);
    }
    const std::optional<NormalEquations::Vector> u = equations.solve();
    if (!u)
        return std::nullopt;
    const Matrix3 normalised{(*u)[0], (*u)[1], (*u)[2], (*u)[3], (*u)[4],
                             (*u)[5], (*u)[6], (*u)[7], 1};
    if (!IsSound(normalised, board))
        return std::nullopt;
    return ProjectiveMap{
        Multiply(fromPixels->inverse(), Multiply(normalised, fromBoard->matrix()))};
}

} // namespace kavelto
