# Sourced first by the tools' scripts: with --help or -h as the first word, the script
# prints its opening comment, which says how to use it, and ends with that status (0 once
# written).
case ${1:-} in
--help | -h)
    sed -n '2,/^[^#]/s/^# \{0,1\}//p' "$0"
    exit
    ;;
esac
