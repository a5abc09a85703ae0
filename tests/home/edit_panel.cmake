# tests of the edit panel
