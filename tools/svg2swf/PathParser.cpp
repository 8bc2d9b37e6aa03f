#include "PathParser.h"

#include "NumberScanner.h"

#include <cctype>

namespace
{

bool IsCommand(char c)
{
    return std::string_view("MmLlHhVvCcSsQqTtAaZz").find(c) != std::string_view::npos && c != 0;
}

} // namespace

Outline ParsePathData(std::string_view d, std::string* error)
{
    Outline out;
    NumberScanner in(d);
    char command = 0;
    Point lastControl; // reflected by S/s and T/t
    char lastKind = 0; // 'C' or 'Q' when the previous segment was one
    auto fail = [&](const char* what)
    {
        if (error)
            *error = std::string(what) + " at offset " + std::to_string(in.Position());
        return out;
    };

    while (!in.AtEnd())
    {
        const char next = in.Peek();
        if (std::isalpha(static_cast<unsigned char>(next)))
        {
            if (!IsCommand(next))
                return fail("unknown path command");
            command = next;
            in.Advance();
        }
        else if (command == 0)
        {
            return fail("numbers without a command");
        }
        if (out.Empty() && command != 'M' && command != 'm')
            return fail("path data does not start with a move");
        const bool relative = std::islower(static_cast<unsigned char>(command));
        const Point cur = out.CurrentPoint();
        const Point base = relative ? cur : Point{};
        auto readPoint = [&](Point& p)
        {
            auto x = in.Number();
            if (!x)
                return false;
            auto y = in.Number();
            if (!y)
                return false;
            p = Point{*x, *y} + base;
            return true;
        };
        char kind = 0;
        switch (std::toupper(static_cast<unsigned char>(command)))
        {
        case 'M':
        {
            Point p;
            if (!readPoint(p))
                return fail("bad move");
            out.MoveTo(p);
            // Further pairs after a move are lines.
            command = relative ? 'l' : 'L';
            break;
        }
        case 'L':
        {
            Point p;
            if (!readPoint(p))
                return fail("bad line");
            out.LineTo(p);
            break;
        }
        case 'H':
        {
            auto x = in.Number();
            if (!x)
                return fail("bad horizontal line");
            out.LineTo({*x + base.x, cur.y});
            break;
        }
        case 'V':
        {
            auto y = in.Number();
            if (!y)
                return fail("bad vertical line");
            out.LineTo({cur.x, *y + base.y});
            break;
        }
        case 'C':
        {
            Point c1, c2, p;
            if (!readPoint(c1) || !readPoint(c2) || !readPoint(p))
                return fail("bad cubic");
            out.CubicTo(c1, c2, p);
            lastControl = c2;
            kind = 'C';
            break;
        }
        case 'S':
        {
            Point c2, p;
            if (!readPoint(c2) || !readPoint(p))
                return fail("bad smooth cubic");
            const Point c1 = lastKind == 'C' ? cur * 2 - lastControl : cur;
            out.CubicTo(c1, c2, p);
            lastControl = c2;
            kind = 'C';
            break;
        }
        case 'Q':
        {
            Point c, p;
            if (!readPoint(c) || !readPoint(p))
                return fail("bad quadratic");
            out.QuadTo(c, p);
            lastControl = c;
            kind = 'Q';
            break;
        }
        case 'T':
        {
            Point p;
            if (!readPoint(p))
                return fail("bad smooth quadratic");
            const Point c = lastKind == 'Q' ? cur * 2 - lastControl : cur;
            out.QuadTo(c, p);
            lastControl = c;
            kind = 'Q';
            break;
        }
        case 'A':
        {
            auto rx = in.Number();
            auto ry = in.Number();
            auto rotation = in.Number();
            auto large = in.Flag();
            auto sweep = in.Flag();
            Point p;
            if (!rx || !ry || !rotation || !large || !sweep || !readPoint(p))
                return fail("bad arc");
            AppendArc(out, *rx, *ry, *rotation, *large, *sweep, p);
            break;
        }
        case 'Z':
            out.Close();
            command = 0; // numbers straight after a close have no command
            break;
        }
        lastKind = kind;
    }
    return out;
}
