#pragma once

namespace vocab {

// What a node of the dictionary tree stands for; the values are the nodes'
// image indexes, which is how the tree tells its nodes apart.
enum TreeNodeKind : int {
    tnkFolder = 0,
    tnkDictionary = 1,
    tnkRoot = 2,
};

} // namespace vocab
