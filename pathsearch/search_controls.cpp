// gridroute's keyboard controls of the search, and the cursor marker.
#include "pathsearch/path_search.h"

#include <GL/gl.h>

#include <cstdlib>
#include <iostream>

namespace {

constexpr int kKeyF1 = 1;
constexpr int kKeyF2 = 2;
constexpr int kKeyF3 = 3;
constexpr int kKeyF4 = 4;
constexpr int kKeyF12 = 12;
constexpr int kKeyLeft = 100;
constexpr int kKeyUp = 101;
constexpr int kKeyRight = 102;
constexpr int kKeyDown = 103;

constexpr struct {
    int key;
    SearchMethod method;
} kMethodKeys[] = {{5, BreadthFirst}, {6, Dijkstra}, {7, AStarManhattan}, {8, AStarBreakingTies}};

}  // namespace

void PathSearch::handleControls(const KeyState& keys) {
    applyKeys(keys);
    drawCursor();
}

void PathSearch::applyKeys(const KeyState& keys) {
    // The timer grows every frame; the first arrow key that acts zeroes it, so a held arrow
    // moves the cursor every fourth frame and at most one arrow acts per frame.
    keyRepeatTimer = float(double(keyRepeatTimer) + 0.3);
    const int arrows[] = {kKeyLeft, kKeyRight, kKeyUp, kKeyDown};
    for (int key : arrows) {
        if (!keys.held(key) || !(keyRepeatTimer > 1.0f)) {
            continue;
        }
        if (isTile(cursor)) {
            int columns = board->lastColumn + 1;
            int column = board->columnOf(cursor);
            int row = board->rowOf(cursor);
            int next = -1;
            if (key == kKeyLeft && column != 0) next = cursor - 1;
            if (key == kKeyRight && column != board->lastColumn) next = cursor + 1;
            if (key == kKeyUp && row != 0) next = cursor - columns;
            if (key == kKeyDown && row != board->lastRow) next = cursor + columns;
            if (next >= 0 && !board->tiles[next].blocked) {
                cursor = next;
            }
        }
        keyRepeatTimer = 0.0f;
    }

    // With F1 and F2 held together the goal is set first, so start and goal coincide.
    if (keys.held(kKeyF2)) {
        setGoal(cursor);
    }
    if (keys.held(kKeyF1)) {
        restartAt(cursor);
    }
    if (keys.held(kKeyF12)) {
        std::cout << "got key\n" << std::flush;
    }
    // stepsPerFrame keeps the value computed before a wrap until the next F3 or F4 frame.
    if (keys.held(kKeyF3)) {
        speed = float(double(speed) + 0.03);
        stepsPerFrame = std::abs(int(speed));
        if (speed > 3000.0f) {
            speed = 1.0f;
        }
    }
    if (keys.held(kKeyF4)) {
        speed = float(double(speed) - 0.005);
        stepsPerFrame = std::abs(int(speed));
        if (speed < 0.0f) {
            speed = 1.0f;
        }
    }
    for (const auto& entry : kMethodKeys) {
        if (keys.held(entry.key)) {
            std::cout << methodLabel(entry.method) << std::endl;
            method = entry.method;
        }
    }
}

void PathSearch::drawCursor() const {
    if (!isTile(cursor)) {
        return;
    }
    const Vector3& c = board->tiles[cursor].centre;
    glDisable(GL_LIGHTING);
    glPointSize(12.0f);
    glBegin(GL_POINTS);
    glColor3f(0.4f, 0.6f, 0.4f);
    glVertex3f(c.x, 1.0f, c.z);
    glEnd();
    glEnable(GL_LIGHTING);
}
