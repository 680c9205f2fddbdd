// Placeholder entry point until the window is built.
int main() { return 0; }
