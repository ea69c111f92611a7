# The rows the benchmark programs print, as one table at the end of `make bench`.
BEGIN { FS = "\t" }
/^@row\t/ { rows[++n] = $0; next }
/^@status / { split($0, s, " "); status = s[2] + 0; next }
{ print }
END {
    if (n == 0) exit status
    print ""
    printf "%-62s %9s %17s %9s %8s %8s %9s  %s\n", "caso", "tempo s", "intervallo s", "CPU s", "picco MB", "obiettivo", "x riferim.", ""
    for (i = 1; i <= n; ++i) {
        split(rows[i], f, "\t")
        ratio = f[8] == "" ? "-" : sprintf(f[8] + 0 < 10 ? "%.2f" : "%.0f", f[8])
        verdict = f[7] + 0 == 0 ? "" : f[3] + 0 <= f[7] + 0 ? "ok" : "oltre"
        printf "%-62s %9s %17s %9s %8s %8s %9s  %s %s\n", f[2], f[3], f[4], f[5], f[6], f[7], ratio, verdict, f[9]
    }
    exit status
}
