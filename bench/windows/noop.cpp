// Ends at once: under Wine, the time it takes is the process start alone.
int main() { return 0; }
